// The one-line box a caption's text is typed into, in the main window and
// the batch rows. A caption may hold line breaks: Ctrl+Enter and Shift+Enter
// type one, pasted and dropped text keeps its own, and each shows in the box
// as a mark, which is what the box holds in its place.
#pragma once

#include <QClipboard>
#include <QLineEdit>
#include <QString>

#include <string>

namespace glyphary::ui {

// How a line break shows in the box. Typed or pasted, the mark is a line
// break too: the box cannot tell it from one.
inline constexpr QChar kLineBreakMark(0x21B5);  // ↵

// Every line break (LF, CR LF, a lone CR) as the mark.
QString WithBreakMarks(const QString& text);
// Every mark as LF.
QString WithLineFeeds(const QString& shown);

class CaptionEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CaptionEdit(QWidget* parent = nullptr);

  // The caption the box holds, in UTF-8, its breaks as LF.
  std::string CaptionText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // The selection with its breaks as LF, for other programs.
  void CopySelection();
  void CutSelection();
  void PasteClipboard();
  void Paste(QClipboard::Mode mode);
  // X11's primary selection, which other programs paste with the middle
  // button: the selection with its breaks as LF.
  void OfferSelection();
  void StartUndoStep();
};

}  // namespace glyphary::ui
