#include "ui/folder_browser.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "app/forms_lifecycle.h"
#include "scripted_dialogs.h"
#include "test_support.h"
#include "ui/forms.h"
#include "ui/production_dialog.h"

namespace glyphary::ui {
namespace {

// Puts an environment variable back as it was.
class EnvironmentVariable {
 public:
  explicit EnvironmentVariable(const char* name) : name_(name) {
    if (const char* value = std::getenv(name)) saved_ = value;
  }
  ~EnvironmentVariable() {
    if (saved_)
      ::setenv(name_, saved_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

// A home folder of its own with a desktop holding two folders and a file.
class FolderBrowser : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(home.File("Desktop/captions"));
    std::filesystem::create_directories(home.File("Desktop/other"));
    std::ofstream(home.File("Desktop/note.txt")) << "x";
    ::setenv("HOME", home.Path().c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    SetSettingsPath(QString::fromStdString(settings_.File("glyphary.INI")));
    app::CreateForms();
    frm_production->show();
    frm_production->PageControl1->setCurrentIndex(2);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm_production));
  }
  void TearDown() override { app::DestroyForms(); }

  // Presses 参照 and runs `inside` while the browser is shown modally; a
  // browser still open afterwards is cancelled so the test cannot hang.
  void Browse(const std::function<void()>& inside) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
      ran = true;
      if (QTest::qWaitForWindowExposed(frm_browse)) inside();
      if (frm_browse->isVisible()) frm_browse->reject();
    });
    QTest::mouseClick(frm_production->Button2, Qt::LeftButton);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(frm_browse->isVisible());
  }

  QString Path(const std::string& relative) const {
    return QString::fromStdString(home.File(relative));
  }
  QModelIndex Node(const QString& path) const { return frm_browse->Folders()->index(path); }

  // Clicks the folder's node once its parent has been listed.
  void Pick(const QString& path) {
    QTreeView* tree = frm_browse->ShellTreeView1;
    const QModelIndex node = Node(path);
    ASSERT_TRUE(node.isValid());
    tree->expand(node.parent());
    ASSERT_TRUE(QTest::qWaitFor([&] {
      tree->scrollTo(node);
      return tree->visualRect(node).isValid();
    }));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(node).center());
    EXPECT_EQ(frm_browse->SelectedPath(), path);
  }

  TempDir home;

 private:
  EnvironmentVariable savedHome_{"HOME"}, savedConfig_{"XDG_CONFIG_HOME"};
  TempDir settings_;
  ScriptedDialogs dialogs_;
};

TEST_F(FolderBrowser, OkWithoutAPickGivesTheDesktopFolder) {
  Browse([&] {
    EXPECT_EQ(frm_browse->windowTitle(), "Browse...");
    EXPECT_TRUE(frm_browse->isModal());
    EXPECT_TRUE(frm_browse->ShellTreeView1->isExpanded(Node(Path("Desktop"))));
    QTest::mouseClick(frm_browse->Button1, Qt::LeftButton);
  });
  EXPECT_EQ(frm_production->edt_saveplace->text(), Path("Desktop"));
}

TEST_F(FolderBrowser, WithoutADesktopFolderTheHomeFolderIsSelected) {
  std::filesystem::remove_all(home.File("Desktop"));
  Browse([&] { QTest::keyClick(frm_browse->ShellTreeView1, Qt::Key_Return); });
  EXPECT_EQ(frm_production->edt_saveplace->text(), QString::fromStdString(home.Path()));
}

TEST_F(FolderBrowser, PickedFolderIsWrittenAndTheTreeKeepsItForTheNextShowing) {
  Browse([&] {
    // Folders only: the file on the desktop is not listed.
    const QModelIndex desktop = Node(Path("Desktop"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return frm_browse->Folders()->rowCount(desktop) == 2; }));
    for (int row = 0; row < frm_browse->Folders()->rowCount(desktop); ++row)
      EXPECT_NE(frm_browse->Folders()->fileName(desktop.model()->index(row, 0, desktop)),
                "note.txt");
    Pick(Path("Desktop/captions"));
    QTest::mouseClick(frm_browse->Button1, Qt::LeftButton);
  });
  EXPECT_EQ(frm_production->edt_saveplace->text(), Path("Desktop/captions"));

  frm_production->edt_saveplace->setText("elsewhere");
  Browse([&] {
    EXPECT_TRUE(frm_browse->ShellTreeView1->isExpanded(Node(Path("Desktop"))));
    EXPECT_EQ(frm_browse->SelectedPath(), Path("Desktop/captions"));
    QTest::mouseClick(frm_browse->Button1, Qt::LeftButton);
  });
  EXPECT_EQ(frm_production->edt_saveplace->text(), Path("Desktop/captions"));

  Browse([&] {
    Pick("/");
    QTest::mouseClick(frm_browse->Button1, Qt::LeftButton);
  });
  EXPECT_EQ(frm_production->edt_saveplace->text(), "/");
}

TEST_F(FolderBrowser, CancelTheCloseBoxAndEscapeWriteNothing) {
  frm_production->edt_saveplace->setText("kept");
  Browse([&] {
    Pick(Path("Desktop/other"));
    QTest::keyClick(frm_browse->ShellTreeView1, Qt::Key_Escape);
    EXPECT_TRUE(frm_browse->isVisible());
    QTest::mouseClick(frm_browse->Button2, Qt::LeftButton);
  });
  EXPECT_EQ(frm_production->edt_saveplace->text(), "kept");
  Browse([&] {
    Pick(Path("Desktop/captions"));
    frm_browse->close();
  });
  EXPECT_EQ(frm_production->edt_saveplace->text(), "kept");
}

TEST_F(FolderBrowser, OkWithTheSelectionClearedKeepsTheFolderBox) {
  frm_production->edt_saveplace->setText("kept");
  Browse([&] {
    Pick(Path("Desktop/other"));
    QTreeView* tree = frm_browse->ShellTreeView1;
    const QModelIndex node = Node(Path("Desktop/other"));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      tree->visualRect(node).center());
    EXPECT_EQ(frm_browse->SelectedPath(), "");
    QTest::mouseClick(frm_browse->Button1, Qt::LeftButton);
  });
  EXPECT_EQ(frm_production->edt_saveplace->text(), "kept");
}

}  // namespace
}  // namespace glyphary::ui
