// Starts and ends the program's windows as the program does, with the
// settings file in a temporary folder and the dialogs answered by script.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/forms_lifecycle.h"
#include "scripted_dialogs.h"
#include "ui/forms.h"
#include "ui/main_window.h"
#include "ui/settings_dialog.h"

namespace glyphary::ui {

class ProgramTest : public ::testing::Test {
 protected:
  ~ProgramTest() override {
    if (frm_main) app::DestroyForms();
  }

  QString IniPath() const { return folder.filePath("glyphary.INI"); }

  void WriteIni(const QByteArray& text) {
    QFile file(IniPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }

  QByteArray ReadIni() const {
    QFile file(IniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Creates every window; `renders` counts the preview's new pictures from here on.
  void Start(const QString& iniPath = {}) {
    SetSettingsPath(iniPath.isEmpty() ? IniPath() : iniPath);
    app::CreateForms();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm_main));
    renders = std::make_unique<QSignalSpy>(frm_main->Image1, &PreviewImage::PictureChanged);
  }

  void Exit() { app::DestroyForms(); }

  void Restart() {
    Exit();
    Start();
  }

  int Renders() const { return int(renders->count()); }

  QTemporaryDir folder;
  ScriptedDialogs dialogs;
  std::unique_ptr<QSignalSpy> renders;
};

}  // namespace glyphary::ui
