#include "ui/caption_edit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
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
// takes them back; the validator would rewrite the whole text.
void CaptionEdit::keyPressEvent(QKeyEvent* event) {
  if (TypesLineBreak(event) && !isReadOnly()) {
    insert(QString(kLineBreakMark));
  } else if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
    PasteClipboard();
  } else if (event->matches(QKeySequence::Copy)) {
    CopySelection();
  } else if (event->matches(QKeySequence::Cut) && !isReadOnly()) {
    CutSelection();
  } else {
    QLineEdit::keyPressEvent(event);
    return;
  }
  event->accept();
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
  insert(WithBreakMarks(QGuiApplication::clipboard()->text()));
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
