#include "ui/caption_edit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QValidator>

#include <limits>

namespace glyphary::ui {
namespace {

// Qt takes an emoji from the first face that has it, and its fallbacks may
// put a black one (Symbola) before the colour face; named in the font's own
// families, the colour face comes first. Where it is missing, the name
// costs nothing.
constexpr char kEmojiFamily[] = "Noto Color Emoji";

// Every change of the text passes here: breaks that arrive by the context
// menu, the middle button, a drop or the program become marks too.
class BreakMarks final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& position) const override {
    if (input.contains('\n') || input.contains('\r')) {
      position = int(WithBreakMarks(input.left(position)).size());
      input = WithBreakMarks(input);
    }
    return Acceptable;
  }
};

bool TypesLineBreak(const QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  return enter && (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier));
}

// Ctrl+Shift+Insert pastes X11's primary selection, where there is one.
QClipboard::Mode PastedFrom(const QKeyEvent* event) {
  const bool primary = event->key() == Qt::Key_Insert &&
                       event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) &&
                       QGuiApplication::clipboard()->supportsSelection();
  return primary ? QClipboard::Selection : QClipboard::Clipboard;
}

}  // namespace

QString WithBreakMarks(const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QString(kLineBreakMark));
  shown.replace('\r', kLineBreakMark);
  shown.replace('\n', kLineBreakMark);
  return shown;
}

QString WithLineFeeds(const QString& shown) {
  return WithBreakMarks(shown).replace(kLineBreakMark, '\n');
}

CaptionEdit::CaptionEdit(QWidget* parent) : QLineEdit(parent) {
  setMaxLength(std::numeric_limits<int>::max());
  setValidator(new BreakMarks(this));
  // The face the window's font resolves to: a name only fontconfig knows
  // (ＭＳ Ｐゴシック) would be passed over in a list of families.
  QFont face = font();
  face.setFamilies({QFontInfo(face).family(), QString::fromLatin1(kEmojiFamily)});
  setFont(face);
}

std::string CaptionEdit::CaptionText() const {
  return WithLineFeeds(text()).toStdString();
}

// Breaks typed and pasted by keyboard are inserted as marks, so that undo
// takes them back; the validator would rewrite the whole text. What the
// keys cut or copy goes out with real breaks.
void CaptionEdit::keyPressEvent(QKeyEvent* event) {
  const bool editable = !isReadOnly();
  if (TypesLineBreak(event) && editable) {
    insert(QString(kLineBreakMark));
  } else if (event->matches(QKeySequence::Paste) && editable) {
    Paste(PastedFrom(event));
  } else if (event->matches(QKeySequence::Copy)) {
    CopySelection();
  } else if (event->matches(QKeySequence::Cut) && editable) {
    CutSelection();
  } else if (event->matches(QKeySequence::DeleteEndOfLine) && editable) {
    setSelection(cursorPosition(), int(text().size()) - cursorPosition());
    CutSelection();
  } else if (event->matches(QKeySequence::DeleteCompleteLine) && editable) {
    selectAll();
    CutSelection();
  } else {
    QLineEdit::keyPressEvent(event);
    if (event->isAccepted()) OfferSelection();
    return;
  }
  event->accept();
}

void CaptionEdit::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton && !isReadOnly() &&
      QGuiApplication::clipboard()->supportsSelection()) {
    deselect();
    Paste(QClipboard::Selection);
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) OfferSelection();
}

// Qt inserts the dropped text as it came and the validator then rewrites
// the whole box, which clears undo; dropped with marks, it is one step.
// Qt drops over a selection without removing it.
void CaptionEdit::dropEvent(QDropEvent* event) {
  if (!event->mimeData()->hasText()) {
    QLineEdit::dropEvent(event);
    return;
  }
  QMimeData marked;
  marked.setText(WithBreakMarks(event->mimeData()->text()));
  QDropEvent drop(event->position(), event->possibleActions(), &marked, event->buttons(),
                  event->modifiers(), event->type());
  deselect();
  StartUndoStep();
  QLineEdit::dropEvent(&drop);
  StartUndoStep();
  event->setDropAction(drop.dropAction());
  event->setAccepted(drop.isAccepted());
}

// The menu's Copy, Cut and Paste act as their keys do. Qt connects its
// items by name; should it stop, they keep Qt's own action.
void CaptionEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (QAction* action : menu->actions()) {
    const auto reroute = [&](const char* qtSlot, void (CaptionEdit::*ours)()) {
      if (disconnect(action, SIGNAL(triggered()), this, qtSlot))
        connect(action, &QAction::triggered, this, ours);
    };
    reroute(SLOT(copy()), &CaptionEdit::CopySelection);
    reroute(SLOT(cut()), &CaptionEdit::CutSelection);
    reroute(SLOT(paste()), &CaptionEdit::PasteClipboard);
  }
  menu->popup(event->globalPos());
}

void CaptionEdit::PasteClipboard() {
  Paste(QClipboard::Clipboard);
}

// A paste is an undo step of its own, as Qt's own paste is.
void CaptionEdit::Paste(QClipboard::Mode mode) {
  const QString pasted = QGuiApplication::clipboard()->text(mode);
  if (pasted.isEmpty() && !hasSelectedText()) return;
  StartUndoStep();
  insert(WithBreakMarks(pasted));
  StartUndoStep();
}

// Qt begins a new undo step whenever the cursor moves; removing a selection
// begins one too.
void CaptionEdit::StartUndoStep() {
  if (hasSelectedText() || text().isEmpty()) return;
  const int at = cursorPosition();
  setCursorPosition(at > 0 ? at - 1 : at + 1);
  setCursorPosition(at);
}

void CaptionEdit::OfferSelection() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard->supportsSelection() && selectedText().contains(kLineBreakMark))
    clipboard->setText(WithLineFeeds(selectedText()), QClipboard::Selection);
}

void CaptionEdit::CopySelection() {
  if (hasSelectedText()) QGuiApplication::clipboard()->setText(WithLineFeeds(selectedText()));
}

void CaptionEdit::CutSelection() {
  if (!hasSelectedText()) return;
  CopySelection();
  del();
}

}  // namespace glyphary::ui
