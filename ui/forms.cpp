#include "ui/forms.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

Tfrm_main* frm_main = nullptr;
Tfrm_production* frm_production = nullptr;
Tfrm_browse* frm_browse = nullptr;
Tfrm_setting* frm_setting = nullptr;
Tfrm_effect* frm_effect = nullptr;
Tfrm_layout* frm_layout = nullptr;
Tfrm_about* frm_about = nullptr;

namespace glyphary::ui {
namespace {
QString& SettingsPathStorage() {
  static QString path;
  return path;
}
}  // namespace

const QString& SettingsPath() {
  return SettingsPathStorage();
}

void SetSettingsPath(const QString& path) {
  SettingsPathStorage() = path;
}

std::string SettingsFileName() {
  return QFile::encodeName(SettingsPath()).toStdString();
}

QString ExecutableFolder() {
  return QFileInfo(QCoreApplication::applicationFilePath()).absolutePath();
}

}  // namespace glyphary::ui
