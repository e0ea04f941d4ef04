// Every modal question the program asks goes through one interface, so the
// running program shows Qt's dialogs and the tests answer them by script.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

class QWidget;

namespace glyphary::ui {

// The save dialog's state, kept by its owner between uses. filterIndex is
// 1-based into `filters` ("description|*.ext" pairs, as the owner lists them).
struct SaveFileRequest {
  QStringList filters;  // "BMP -Win32 Bitmap-", "*.bmp", ...: description, pattern, ...
  int filterIndex = 1;
  QString fileName;  // as typed; the dialog adds no extension
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // "警告" with OK and キャンセル; true for OK.
  virtual bool Warning(QWidget* parent, const QString& text) = 0;
  // "エラー" with OK.
  virtual void Error(QWidget* parent, const QString& text) = 0;
  // An explanation under its own title, with OK.
  virtual void Information(QWidget* parent, const QString& title, const QString& text) = 0;
  // Opens at `color`; on OK stores the choice there and returns true.
  virtual bool ChooseColor(QWidget* parent, QColor& color) = 0;
  // On OK updates request.filterIndex and request.fileName and returns true.
  virtual bool SaveFile(QWidget* parent, SaveFileRequest& request) = 0;
  // The desktop's "open" on a local document or a web address; false when
  // nothing here can open it (no launcher, no browser).
  virtual bool Open(const QString& pathOrUrl) = 0;
};

// "PNGについて": what the two PNG options of the settings and batch dialogs do.
void ExplainPngOptions(QWidget* parent);

// The help page through the desktop, at one of its sections or at its top;
// where nothing can open it, an error names the file to read.
void ShowHelp(QWidget* parent, const QString& section = {});
// A web page through the desktop; where no browser opens it, an error names it.
void ShowWebPage(QWidget* parent, const QString& address);

// The dialogs in force: Qt's, unless a test installed its own.
Dialogs& CurrentDialogs();
// Installs `dialogs` (not owned); nullptr restores Qt's.
void SetDialogs(Dialogs* dialogs);

}  // namespace glyphary::ui
