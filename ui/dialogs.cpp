#include "ui/dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace glyphary::ui {
namespace {

// "BMP -Win32 Bitmap-" + "*.bmp" -> "BMP -Win32 Bitmap- (*.bmp)"
QStringList NameFilters(const QStringList& pairs) {
  QStringList filters;
  for (qsizetype i = 0; i + 1 < pairs.size(); i += 2)
    filters << pairs[i] + " (" + pairs[i + 1] + ")";
  return filters;
}

class QtDialogs final : public Dialogs {
 public:
  bool Warning(QWidget* parent, const QString& text) override {
    QMessageBox box(QMessageBox::Warning, "警告", text, QMessageBox::NoButton, parent);
    QPushButton* ok = box.addButton("OK", QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton("キャンセル", QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
  }

  void Error(QWidget* parent, const QString& text) override {
    QMessageBox box(QMessageBox::Critical, "エラー", text, QMessageBox::NoButton, parent);
    box.setDefaultButton(box.addButton("OK", QMessageBox::AcceptRole));
    box.exec();
  }

  bool ChooseColor(QWidget* parent, QColor& color) override {
    const QColor chosen = QColorDialog::getColor(color, parent);
    if (!chosen.isValid()) return false;
    color = chosen;
    return true;
  }

  bool SaveFile(QWidget* parent, SaveFileRequest& request) override {
    // Qt's own dialog: the native ones do not report the chosen filter reliably.
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Qt's own texts are English unless its translations are installed.
    dialog.setLabelText(QFileDialog::LookIn, "保存する場所:");
    dialog.setLabelText(QFileDialog::FileName, "ファイル名:");
    dialog.setLabelText(QFileDialog::FileType, "ファイルの種類:");
    dialog.setLabelText(QFileDialog::Accept, "保存");
    dialog.setLabelText(QFileDialog::Reject, "キャンセル");
    const QStringList filters = NameFilters(request.filters);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
      dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    request.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    request.fileName = dialog.selectedFiles().constFirst();
    return true;
  }

  void Open(const QString& pathOrUrl) override {
    const QUrl url = pathOrUrl.contains("://") ? QUrl(pathOrUrl) : QUrl::fromLocalFile(pathOrUrl);
    QDesktopServices::openUrl(url);
  }
};

Dialogs*& Installed() {
  static Dialogs* dialogs = nullptr;
  return dialogs;
}

}  // namespace

Dialogs& CurrentDialogs() {
  static QtDialogs qt;
  return Installed() ? *Installed() : qt;
}

void SetDialogs(Dialogs* dialogs) {
  Installed() = dialogs;
}

}  // namespace glyphary::ui
