#include "ui/dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "image/image.h"

namespace glyphary::ui {
namespace {

// "BMP -Win32 Bitmap-" + "*.bmp" -> "BMP -Win32 Bitmap- (*.bmp)"
QStringList NameFilters(const QStringList& pairs) {
  QStringList filters;
  for (qsizetype i = 0; i + 1 < pairs.size(); i += 2)
    filters << pairs[i] + " (" + pairs[i + 1] + ")";
  return filters;
}

// The save dialog's file list with its dates in the program's language:
// Qt writes them in the system's, which may be English.
class JapaneseDates final : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || index.column() != kDateColumn || !files)
      return QIdentityProxyModel::data(index, role);
    return QLocale().toString(files->lastModified(mapToSource(index)), QLocale::ShortFormat);
  }

 private:
  static constexpr int kDateColumn = 3;
};

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

  void Information(QWidget* parent, const QString& title, const QString& text) override {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::NoButton, parent);
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
    dialog.setProxyModel(new JapaneseDates(&dialog));
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

  bool Open(const QString& pathOrUrl) override {
    const QUrl url = pathOrUrl.contains("://") ? QUrl(pathOrUrl) : QUrl::fromLocalFile(pathOrUrl);
    return QDesktopServices::openUrl(url);
  }
};

Dialogs*& Installed() {
  static Dialogs* dialogs = nullptr;
  return dialogs;
}

constexpr char kPngOptions[] =
    "背景を透過する: 背景色の部分を透明にします。画像を重ねたとき、文字だけが見えます。\n"
    "この設定をオンにすると、256色(8bit)も一緒にオンになります。\n\n"
    "256色(8bit): 色の数を256色に減らして、ファイルを小さくします。"
    "透過しない画像でも使えます。文字のふちの色が少し粗くなることがあります。\n\n"
    "アルファで透過 (縁もなめらか): 文字の色だけで、ふちのなめらかさを透明度として"
    "保存します。暗い写真や動画に重ねても、文字のまわりに白いふちが出ません。"
    "このときは上の二つは使われません。";

}  // namespace

void ExplainPngOptions(QWidget* parent) {
  CurrentDialogs().Information(parent, "PNGについて", QString::fromUtf8(kPngOptions));
}

void ShowHelp(QWidget* parent, const QString& section) {
  // Beside the program in a build or portable copy, else where it is installed.
  const QString file = QString::fromStdString(HelpDocumentPath());
  QUrl page = QUrl::fromLocalFile(file);
  page.setFragment(section);
  if (CurrentDialogs().Open(section.isEmpty() ? file : page.toString())) return;
  CurrentDialogs().Error(parent,
                         "ヘルプを開くプログラム (xdg-open またはブラウザー) が見つかりません。"
                         "ヘルプはこのファイルをブラウザーで開いて読めます:\n" +
                             file);
}

void ShowWebPage(QWidget* parent, const QString& address) {
  if (CurrentDialogs().Open(address)) return;
  CurrentDialogs().Error(parent, "ウェブページを開くブラウザーが見つかりません:\n" + address);
}

Dialogs& CurrentDialogs() {
  static QtDialogs qt;
  return Installed() ? *Installed() : qt;
}

void SetDialogs(Dialogs* dialogs) {
  Installed() = dialogs;
}

}  // namespace glyphary::ui
