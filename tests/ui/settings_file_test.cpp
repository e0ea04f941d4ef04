// What the windows restore at start and store at exit.
#include <QGuiApplication>
#include <QScreen>

#include "program_fixture.h"

namespace glyphary::ui {
namespace {

using SettingsFile = ProgramTest;

QSize OuterSize() {
  return frm_main->centralWidget()->size() + QSize(8, 39);
}

TEST_F(SettingsFile, RestoredWindowSizesArePulledIntoTheLimits) {
  WriteIni("[Window]\nLeft=10\nTop=20\nWidth=800\nHeight=100\n");
  Start();
  EXPECT_EQ(frm_main->frameGeometry().topLeft(), QPoint(10, 20));
  EXPECT_EQ(OuterSize(), QSize(623, 340));
  Exit();
  WriteIni("[Window]\nWidth=500\nHeight=500\n");
  Start();
  EXPECT_EQ(OuterSize(), QSize(623, 348));
  Exit();
  WriteIni("[Window]\nHeight=345\n");
  Start();
  EXPECT_EQ(OuterSize(), QSize(623, 345));
  EXPECT_EQ(frm_main->size().height(), frm_main->minimumHeight()) << "fixed size";
  EXPECT_EQ(frm_main->minimumSize(), frm_main->maximumSize());
}

TEST_F(SettingsFile, ANewFileGetsTheSectionsInExitOrderAndReadsBackEqual) {
  Start();
  frm_main->move(120, 80);
  frm_main->ComboBox->setEditText("IPAMincho");
  frm_main->spn_size->SetValue(31);
  QTest::mouseClick(frm_main->spd_underline, Qt::LeftButton);
  frm_main->lbl_textcolor->SetColor(0x00FF8000);
  frm_main->lbl_bkcolor->SetColor(Rgb(255, 0, 0));
  frm_setting->spnedt_jpeg->SetValue(90);
  frm_setting->cb_transparent->setChecked(true);
  frm_setting->cb_256->setChecked(false);
  const CaptionStyle style = frm_main->CurrentStyle();
  Exit();

  const QString ini = QString::fromUtf8(ReadIni());
  QStringList sections;
  for (const QString& line : ini.split('\n'))
    if (line.startsWith('[')) sections << line.trimmed();
  EXPECT_EQ(sections, QStringList({"[JPEG]", "[PNG]", "[Window]", "[Font]", "[Color]", "[Effect]",
                                   "[Layout]"}));
  EXPECT_TRUE(ini.contains("DrawColor=$00FF8000"));
  EXPECT_TRUE(ini.contains("BGColor=clRed"));
  EXPECT_TRUE(ini.contains("Width=623"));
  EXPECT_TRUE(ini.contains("Height=340"));

  Start();
  const CaptionStyle restored = frm_main->CurrentStyle();
  EXPECT_EQ(restored.faceName, style.faceName);
  EXPECT_EQ(restored.pointSize, 31);
  EXPECT_EQ(restored.underline, true);
  EXPECT_EQ(restored.bold, false);
  EXPECT_EQ(restored.textColor, style.textColor);
  EXPECT_EQ(restored.backgroundColor, style.backgroundColor);
  EXPECT_EQ(frm_main->frameGeometry().topLeft(), QPoint(120, 80));
  const ExportOptions options = frm_setting->Options();
  EXPECT_EQ(options.jpegQuality, 90);
  EXPECT_TRUE(options.pngTransparent);
  EXPECT_FALSE(options.png256Colors);
}

TEST_F(SettingsFile, SystemColourFromTheFileIsKeptAndShownResolved) {
  WriteIni("[Color]\nBGColor=clBtnFace\n");
  Start();
  EXPECT_EQ(frm_main->lbl_bkcolor->Color(), 0x8000000Fu);
  EXPECT_EQ(FromQColor(frm_main->lbl_bkcolor->palette().color(QPalette::Window)),
            ColorToRGB(0x8000000F));
  Exit();
  EXPECT_TRUE(ReadIni().contains("BGColor=clBtnFace"));
}

TEST_F(SettingsFile, BadColourIsShownAndTheWindowStillOpens) {
  WriteIni("[Color]\nDrawColor=pink\nBGColor=clRed\n");
  Start();
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_TRUE(dialogs.errors[0].startsWith("'pink' は整数ではありません ("))
      << dialogs.errors[0].toStdString();
  EXPECT_EQ(frm_main->lbl_bkcolor->Color(), kColorWhite) << "keys after the bad one are not read";
  EXPECT_TRUE(frm_main->isVisible());
}

TEST_F(SettingsFile, SizeTooLargeToRenderIsShownAndTheKeysAfterItStillArrive) {
  WriteIni("[Font]\nSize=99999\nBold=1\n[Color]\nBGColor=clRed\n");
  Start();
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0], "文字サイズが大きすぎるため画像を作成できません");
  EXPECT_EQ(frm_main->spn_size->text(), "99999");
  EXPECT_TRUE(frm_main->CurrentStyle().bold);
  EXPECT_EQ(frm_main->lbl_bkcolor->Color(), Rgb(255, 0, 0));
  Exit();
  EXPECT_TRUE(ReadIni().contains("BGColor=clRed")) << "nothing the file held is lost at exit";
}

TEST_F(SettingsFile, NonNumberBoxesAtExitStoreZeroSizeAndLowestQuality) {
  Start();
  frm_main->spn_size->Field()->setText("-");
  frm_setting->spnedt_jpeg->Field()->setText("+");
  Exit();
  const QByteArray ini = ReadIni();
  EXPECT_TRUE(ini.contains("Size=0"));
  EXPECT_TRUE(ini.contains("Rate=10"));
}

TEST_F(SettingsFile, StoreFailureAtExitIsShownAndTheProgramStillCloses) {
  // A folder cannot be made where a file stands.
  QFile blocker(folder.filePath("not-a-folder"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const QString path = folder.filePath("not-a-folder/glyphary.INI");
  Start(path);
  Exit();
  ASSERT_EQ(dialogs.errors.size(), 1u) << "both windows' stores failed: one message";
  EXPECT_EQ(dialogs.errors[0], path + " に書き込めません (途中にフォルダーでないものがあります)");
  EXPECT_EQ(frm_main, nullptr);
  EXPECT_EQ(frm_setting, nullptr);
}

TEST_F(SettingsFile, ReadOnlyFileAtExitIsKeptAndTheReasonShownOnce) {
  WriteIni("[Font]\nSize=31\n");
  ASSERT_TRUE(QFile::setPermissions(IniPath(), QFile::ReadOwner | QFile::ReadGroup));
  Start();
  frm_main->spn_size->SetValue(40);
  Exit();
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0], IniPath() + " に書き込めません (書き込みの許可がありません)");
  EXPECT_EQ(ReadIni(), "[Font]\nSize=31\n") << "also when we run as root";
}

// Each style flag is restored on its own button alone.
TEST_F(SettingsFile, EachStyleRestoredAloneShowsOnItsOwnButtonOnly) {
  for (const char* key : {"Bold", "Italic", "UnderLine"}) {
    WriteIni(QByteArray("[Font]\n") + key + "=1\n");
    Start();
    const CaptionStyle style = frm_main->CurrentStyle();
    const std::string name = key;
    EXPECT_EQ(style.bold, name == "Bold") << key;
    EXPECT_EQ(style.italic, name == "Italic") << key;
    EXPECT_EQ(style.underline, name == "UnderLine") << key;
    EXPECT_EQ(frm_main->spd_bold->isChecked(), name == "Bold") << key;
    EXPECT_EQ(frm_main->spd_italic->isChecked(), name == "Italic") << key;
    EXPECT_EQ(frm_main->spd_underline->isChecked(), name == "UnderLine") << key;
    Exit();
  }
}

// A monitor unplugged since the last run: the window comes back where the
// user can reach it; a window only partly on the screen stays put.
TEST_F(SettingsFile, APositionNoScreenShowsGivesWayToTheDefault) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  for (const QByteArray& position :
       {QByteArray("Left=3000\nTop=2000"), QByteArray("Left=-600\nTop=40"),
        QByteArray("Left=100\nTop=-200"),
        QByteArray("Left=40\nTop=") + QByteArray::number(screen.bottom() - 2)}) {
    WriteIni("[Window]\n" + position + "\n");
    Start();
    EXPECT_EQ(frm_main->frameGeometry().topLeft(), screen.topLeft() + QPoint(200, 150))
        << position.toStdString();
    Exit();
  }
  const QPoint partly(screen.right() - 100, 30);
  WriteIni(QString("[Window]\nLeft=%1\nTop=%2\n").arg(partly.x()).arg(partly.y()).toUtf8());
  Start();
  EXPECT_EQ(frm_main->frameGeometry().topLeft(), partly);
}

// The end of the desktop session asks for the settings before it ends the
// program, which may then never reach its exit.
TEST_F(SettingsFile, TheSessionsEndStoresEverythingAndLeavesTheWindowsOpen) {
  Start();
  frm_main->spn_size->SetValue(33);
  frm_setting->spnedt_jpeg->SetValue(88);
  app::StoreSettings();
  const QByteArray ini = ReadIni();
  EXPECT_TRUE(ini.contains("Size=33")) << ini.toStdString();
  EXPECT_TRUE(ini.contains("Rate=88")) << ini.toStdString();
  EXPECT_TRUE(frm_main->isVisible());
}

}  // namespace
}  // namespace glyphary::ui
