#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <utility>

#include "export/export.h"
#include "settings/plain_settings.h"
#include "settings/settings.h"
#include "settings/settings_path.h"
#include "test_support.h"

namespace glyphary {
namespace {

void WriteText(const std::string& path, const std::string& text) {
  WriteWholeFile(path, Bytes(text));
}

CaptionSettings LoadFrom(const std::string& path) {
  CaptionSettings settings;
  LoadCaptionSettings(path, settings);
  return settings;
}

CaptionSettings LoadText(const TempDir& dir, const std::string& text) {
  const std::string path = dir.File("glyphary.INI");
  WriteText(path, text);
  return LoadFrom(path);
}

TEST(SettingsFile, MissingFileGivesEveryDefault) {
  TempDir dir;
  const CaptionSettings s = LoadFrom(dir.File("absent.INI"));
  EXPECT_EQ(s.window.left, 200);
  EXPECT_EQ(s.window.top, 150);
  EXPECT_EQ(s.window.width, 623);
  EXPECT_EQ(s.window.height, 340);
  EXPECT_EQ(s.style.pointSize, 25);
  EXPECT_EQ(s.style.faceName, "ＭＳ Ｐゴシック");
  EXPECT_FALSE(s.style.bold || s.style.italic || s.style.underline);
  EXPECT_EQ(s.style.textColor, kColorBlack);
  EXPECT_EQ(s.style.backgroundColor, kColorWhite);
  EXPECT_EQ(s.exportOptions.jpegQuality, 70);
  EXPECT_FALSE(s.exportOptions.pngTransparent || s.exportOptions.png256Colors);
  EXPECT_EQ(dir.Entries(), 0u);  // loading never creates the file
}

TEST(SettingsFile, IntegersReadInHexAndFallBackToTheDefault) {
  TempDir dir;
  EXPECT_EQ(LoadText(dir, "[Font]\nSize=0x1A\n").style.pointSize, 26);
  EXPECT_EQ(LoadText(dir, "[Font]\nSize=$1A\n").style.pointSize, 26);
  EXPECT_EQ(LoadText(dir, "[Font]\nSize=abc\n").style.pointSize, 25);
  EXPECT_EQ(LoadText(dir, "[Font]\nSize=\n").style.pointSize, 25);
  EXPECT_EQ(LoadText(dir, "[Font]\nSize=-3\n").style.pointSize, -3);
  EXPECT_EQ(LoadText(dir, "[window]\nleft=-5000\n").window.left, -5000);
}

TEST(SettingsFile, BooleansAreAnyNonZeroInteger) {
  TempDir dir;
  const auto s = LoadText(dir, "[Font]\nBold=2\nItalic=yes\nUnderLine=-1\n");
  EXPECT_TRUE(s.style.bold);
  EXPECT_FALSE(s.style.italic);
  EXPECT_TRUE(s.style.underline);
}

TEST(SettingsFile, ColoursReadAsNamesOrIntegers) {
  TempDir dir;
  for (const char* text : {"clred", "255", "$000000FF", "0xFF"})
    EXPECT_EQ(LoadText(dir, std::string("[Color]\nDrawColor=") + text + "\n").style.textColor,
              0x000000FFu)
        << text;
  EXPECT_EQ(LoadText(dir, "[Color]\nBGColor=$80000008\n").style.backgroundColor, 0x80000008u);
}

TEST(SettingsFile, WindowSizePassesThroughTheMainWindowLimits) {
  TempDir dir;
  auto s = LoadText(dir, "[Window]\nWidth=800\nHeight=100\n");
  EXPECT_EQ(s.window.width, 623);
  EXPECT_EQ(s.window.height, 340);
  s = LoadText(dir, "[Window]\nHeight=345\n");
  EXPECT_EQ(s.window.height, 345);
  s = LoadText(dir, "[Window]\nHeight=2000\n");
  EXPECT_EQ(s.window.height, 348);
}

TEST(SettingsFile, QualityIsClampedAndTheTwoPngFlagsReadInOrder) {
  TempDir dir;
  EXPECT_EQ(LoadText(dir, "[JPEG]\nRate=5\n").exportOptions.jpegQuality, 10);
  EXPECT_EQ(LoadText(dir, "[JPEG]\nRate=500\n").exportOptions.jpegQuality, 100);
  auto s = LoadText(dir, "[PNG]\nTransParent=1\n256Color=0\n");
  EXPECT_TRUE(s.exportOptions.pngTransparent);
  EXPECT_FALSE(s.exportOptions.png256Colors);
  s = LoadText(dir, "[PNG]\nTransParent=1\n");  // coupling, 256Color then reads 0 by default
  EXPECT_TRUE(s.exportOptions.pngTransparent);
  EXPECT_FALSE(s.exportOptions.png256Colors);
  s = LoadText(dir, "[PNG]\n256Color=1\n");
  EXPECT_FALSE(s.exportOptions.pngTransparent);
  EXPECT_TRUE(s.exportOptions.png256Colors);
  EXPECT_FALSE(s.exportOptions.pngAlpha) << "a file from before the alpha option";
  s = LoadText(dir, "[PNG]\nTransParent=1\n256Color=1\nAlpha=1\n");
  EXPECT_TRUE(s.exportOptions.pngAlpha);
  EXPECT_TRUE(s.exportOptions.pngTransparent && s.exportOptions.png256Colors);
}

TEST(SettingsFile, InvalidColourStopsTheLoadAtThatKey) {
  TempDir dir;
  const std::string path = dir.File("glyphary.INI");
  WriteText(path, "[Color]\nDrawColor=blue-ish\nBGColor=clRed\n[JPEG]\nRate=90\n");
  CaptionSettings s;
  s.style.backgroundColor = 0x00123456;
  EXPECT_EQ(ErrorOf([&] { LoadCaptionSettings(path, s); }),
            "'blue-ish' は整数ではありません (" + path + " の [Color] DrawColor)");
  EXPECT_EQ(s.style.textColor, kColorBlack);
  EXPECT_EQ(s.style.backgroundColor, 0x00123456u);  // never read
  EXPECT_EQ(s.exportOptions.jpegQuality, 90);       // the other part still loads

  WriteText(path, "[Color]\nBGColor=\n");
  EXPECT_EQ(ErrorOf([&] { LoadFrom(path); }),
            "'' は整数ではありません (" + path + " の [Color] BGColor)");
}

TEST(SettingsFile, ShiftJisFileFromWindowsLoadsItsFaceName) {
  TempDir dir;
  // "ＭＳ 明朝" in code page 932, with Windows line ends.
  const auto s = LoadText(dir, "[Font]\r\nName=\x82\x6C\x82\x72 \x96\xBE\x92\xA9\r\nSize=30\r\n");
  EXPECT_EQ(s.style.faceName, "ＭＳ 明朝");
  EXPECT_EQ(s.style.pointSize, 30);
}

// Lines a store does not change keep their bytes; what it changes is UTF-8.
TEST(SettingsFile, StoringAShiftJisFileRewritesOnlyWhatChanged) {
  TempDir dir;
  const std::string path = dir.File("glyphary.INI");
  WriteText(path, "[Font]\r\nName=\x82\x6C\x82\x72\r\n; \x83\x52\x83\x81\x83\x93\x83\x67\r\n");
  CaptionSettings s = LoadFrom(path);
  EXPECT_EQ(s.style.faceName, "ＭＳ");
  StoreCaptionSettings(path, s);
  std::string text = ReadAll(path);
  EXPECT_TRUE(text.starts_with("[Font]\r\nName=\x82\x6C\x82\x72\r\nSize=25\r\n")) << text;
  EXPECT_NE(text.find("\r\n; \x83\x52\x83\x81\x83\x93\x83\x67\r\n"), std::string::npos) << text;
  s.style.faceName = "ＭＳ 明朝";
  StoreCaptionSettings(path, s);
  text = ReadAll(path);
  EXPECT_TRUE(text.starts_with("[Font]\r\nName=ＭＳ 明朝\r\n")) << text;
  EXPECT_EQ(LoadFrom(path).style.faceName, "ＭＳ 明朝");
}

// One Latin-1 byte in a comment of a UTF-8 file garbles that comment only.
TEST(SettingsFile, EncodingIsDecidedLineByLine) {
  TempDir dir;
  const std::string path = dir.File("glyphary.INI");
  const std::string comment = "; caf\xE9 au lait\n";
  WriteText(path, comment + "[Font]\nName=ＭＳ 明朝\n[Color]\nDrawColor=clRed\n");
  CaptionSettings s = LoadFrom(path);
  EXPECT_EQ(s.style.faceName, "ＭＳ 明朝");
  s.style.textColor = Rgb(0, 0, 255);
  StoreCaptionSettings(path, s);
  const std::string text = ReadAll(path);
  EXPECT_TRUE(text.starts_with(comment + "[Font]\nName=ＭＳ 明朝\n")) << text;
  EXPECT_NE(text.find("DrawColor=clBlue\n"), std::string::npos) << text;
  EXPECT_EQ(LoadFrom(path).style.faceName, "ＭＳ 明朝");
}

// A folder, a FIFO (which would block a plain open), a device that never
// ends and a file beyond 1 MiB: the program's own file gives the defaults,
// a file the user named is refused with the reason.
TEST(SettingsFile, OnlyRegularFilesUpTo1MiBAreRead) {
  TempDir dir;
  const std::string fifo = dir.File("pipe.INI"), large = dir.File("large.INI");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string head = "[Font]\nSize=40\n";
  // One byte beyond the limit.
  WriteText(large, head + std::string((1 << 20) + 1 - head.size(), '\n'));
  const std::string folder = dir.Path(), zero = "/dev/zero";
  const std::string notRegular = "通常のファイルではありません";
  for (const auto& [path, why] :
       {std::pair{folder, notRegular}, std::pair{fifo, notRegular}, std::pair{zero, notRegular},
        std::pair{large, std::string("1 MiB を超えています")}}) {
    EXPECT_EQ(LoadFrom(path).style.pointSize, 25) << path;
    EXPECT_EQ(ErrorOf([&file = path] { CheckSettingsFile(file); }),
              "設定ファイル " + path + " を読み込めません (" + why + ")");
  }
  const std::string missing = dir.File("missing.INI");
  EXPECT_EQ(LoadFrom(missing).style.pointSize, 25);
  EXPECT_NE(ErrorOf([&] { CheckSettingsFile(missing); }).find("を読み込めません"),
            std::string::npos);
  // Exactly 1 MiB, nearly all of it empty lines, still loads.
  WriteText(large, head + std::string((1 << 20) - head.size(), '\n'));
  ASSERT_EQ(ReadAll(large).size(), std::size_t(1) << 20);
  EXPECT_EQ(ErrorOf([&] { CheckSettingsFile(large); }), "");
  EXPECT_EQ(LoadFrom(large).style.pointSize, 40);
}

TEST(SettingsFile, NewFileHasTheSectionsInExitOrderWithTheTableCapitals) {
  TempDir dir;
  const std::string path = dir.File("glyphary.INI");
  CaptionSettings s;
  s.style.textColor = 0x000000FF;
  s.style.backgroundColor = 0x00FF8000;
  s.style.underline = true;
  s.window.left = -20;
  StoreCaptionSettings(path, s);
  EXPECT_EQ(ReadAll(path),
            "[JPEG]\nRate=70\n\n[PNG]\nTransParent=0\n256Color=0\nAlpha=0\n\n"
            "[Window]\nLeft=-20\nTop=150\nWidth=623\nHeight=340\n\n"
            "[Font]\nSize=25\nName=ＭＳ Ｐゴシック\nBold=0\nItalic=0\nUnderLine=1\n\n"
            "[Color]\nDrawColor=clRed\nBGColor=$00FF8000\n\n"
            "[Effect]\nOutlineWidth=0\nOutlineColor=clWhite\nShadowX=0\nShadowY=0\n"
            "ShadowColor=clGray\nShadowBlur=0\nOuterOutlineWidth=0\nOuterOutlineColor="
            "clBlack\nGradient=0\nGradientColor=clWhite\n\n"
            "[Layout]\nVertical=0\nAlign=0\nLineSpacing=100\nLetterSpacing=0\n");
}

// A window system that reports no position (Wayland) neither applies the
// stored Left and Top nor overwrites them with what it does not know.
TEST(SettingsFile, APositionThePlatformCannotKnowIsNeitherAppliedNorStored) {
  class Unplaced final : public MainSettingsTarget {
   public:
    bool PositionKnown() const override { return false; }
    std::int32_t Left() const override { return -3; }
    void SetLeft(std::int32_t) override { ADD_FAILURE() << "Left applied"; }
    std::int32_t Top() const override { return -30; }
    void SetTop(std::int32_t) override { ADD_FAILURE() << "Top applied"; }
    std::int32_t Width() const override { return 623; }
    void SetWidth(std::int32_t) override {}
    std::int32_t Height() const override { return 340; }
    void SetHeight(std::int32_t) override {}
    std::int32_t FontSize() const override { return size; }
    void SetFontSize(std::int32_t points) override { size = points; }
    std::string FaceName() const override { return "IPAMincho"; }
    void SetFaceName(const std::string&) override {}
    bool Bold() const override { return false; }
    void SetBold(bool) override {}
    bool Italic() const override { return false; }
    void SetItalic(bool) override {}
    bool Underline() const override { return false; }
    void SetUnderline(bool) override {}
    TColor TextColor() const override { return kColorBlack; }
    void SetTextColor(TColor) override {}
    TColor BackgroundColor() const override { return kColorWhite; }
    void SetBackgroundColor(TColor) override {}
    std::int32_t size = 0;
  } window;
  TempDir dir;
  const std::string path = dir.File("glyphary.INI");
  WriteText(path, "[Window]\nLeft=300\nTop=220\n[Font]\nSize=31\n");
  LoadMainSettings(path, window);
  EXPECT_EQ(window.size, 31);
  window.size = 44;
  StoreMainSettings(path, window);
  const std::string text = ReadAll(path);
  EXPECT_TRUE(text.starts_with("[Window]\nLeft=300\nTop=220\n")) << text;
  EXPECT_NE(text.find("Size=44"), std::string::npos) << text;

  // A new file gets no position at all, and a later start the defaults.
  const std::string fresh = dir.File("fresh.INI");
  StoreMainSettings(fresh, window);
  EXPECT_EQ(ReadAll(fresh).find("Left="), std::string::npos);
  EXPECT_EQ(LoadFrom(fresh).window.left, 200);
}

TEST(SettingsFile, EveryValueSurvivesAStoreAndLoad) {
  TempDir dir;
  const std::string path = dir.File("glyphary.INI");
  CaptionSettings s;
  s.window = {-100, 4000, 623, 347};
  s.style = {"  IPAexゴシック ", -12, true, false, true, 0x80000008, 0x00FFFFFF, {}};
  s.exportOptions = {42, true, false};
  StoreCaptionSettings(path, s);
  const CaptionSettings r = LoadFrom(path);
  EXPECT_EQ(r.window.left, -100);
  EXPECT_EQ(r.window.top, 4000);
  EXPECT_EQ(r.window.height, 347);
  EXPECT_EQ(r.style.faceName, "  IPAexゴシック ");
  EXPECT_EQ(r.style.pointSize, -12);
  EXPECT_TRUE(r.style.bold && !r.style.italic && r.style.underline);
  EXPECT_EQ(r.style.textColor, 0x80000008u);
  EXPECT_EQ(r.style.backgroundColor, kColorWhite);
  EXPECT_EQ(r.exportOptions.jpegQuality, 42);
  EXPECT_TRUE(r.exportOptions.pngTransparent);
  EXPECT_FALSE(r.exportOptions.png256Colors);
}

TEST(SettingsFile, StoreKeepsUnknownKeysCommentsAndOtherPrograms) {
  TempDir dir;
  const std::string path = dir.File("glyphary.INI");
  WriteText(path,
            "; my settings\n[font]\nsize=12\nKerning=on\n\n[Plugins]\nPath=/opt/x\n"
            "not a key line\n");
  CaptionSettings s;
  s.style.pointSize = 40;
  PlainMainSettings main(s.window, s.style);
  StoreMainSettings(path, main);
  // A second program stores its export options after us and keeps our keys.
  ExportOptions other{95, false, true};
  PlainExportSettings exportTarget(other);
  StoreExportOptions(path, exportTarget);
  EXPECT_EQ(ReadAll(path),
            "; my settings\n[font]\nSize=40\nKerning=on\nName=ＭＳ Ｐゴシック\nBold=0\n"
            "Italic=0\nUnderLine=0\n\n[Plugins]\nPath=/opt/x\nnot a key line\n\n"
            "[Window]\nLeft=200\nTop=150\nWidth=623\nHeight=340\n\n"
            "[Color]\nDrawColor=clBlack\nBGColor=clWhite\n\n"
            "[JPEG]\nRate=95\n\n[PNG]\nTransParent=0\n256Color=1\nAlpha=0\n");
  EXPECT_EQ(dir.Entries(), 1u);  // no temporary file left behind
}

TEST(SettingsFile, UnwritablePathGivesTheMessage) {
  TempDir dir;
  WriteText(dir.File("plain-file"), "x");
  const std::string path = dir.File("plain-file/glyphary.INI");
  EXPECT_EQ(LoadFrom(path).style.pointSize, 25);  // reading such a path is no error
  EXPECT_EQ(ErrorOf([&] { StoreCaptionSettings(path, CaptionSettings{}); }),
            path + " に書き込めません (途中にフォルダーでないものがあります)");
  EXPECT_EQ(ReadAll(dir.File("plain-file")), "x");

  const std::string folder = dir.File("folder.INI");
  std::filesystem::create_directory(folder);
  EXPECT_EQ(ErrorOf([&] { StoreCaptionSettings(folder, CaptionSettings{}); }),
            folder + " に書き込めません (通常のファイルではありません)");
  EXPECT_TRUE(std::filesystem::is_directory(folder));

  // Storing over what cannot be read as settings would lose it.
  const std::string large = dir.File("large.INI");
  WriteText(large, std::string((2 << 20), ';'));
  EXPECT_EQ(ErrorOf([&] { StoreCaptionSettings(large, CaptionSettings{}); }),
            large + " に書き込めません (1 MiB を超えています)");
  EXPECT_EQ(std::filesystem::file_size(large), std::uintmax_t(2 << 20));
}

// A full disk, simulated with a file size limit, which holds for root too.
TEST(SettingsFile, FailedWriteKeepsTheOldFileWhole) {
  TempDir dir;
  const std::string path = dir.File("glyphary.INI");
  const std::string old = "[Font]\nSize=31\n";
  WriteText(path, old);
  CaptionSettings s;
  s.style.faceName = std::string(4000, 'F');

  rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  PlainMainSettings main(s.window, s.style);
  const std::string error = ErrorOf([&] { StoreMainSettings(path, main); });
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(error, path + " に書き込めません (ファイルが大きすぎます)");
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(dir.Entries(), 1u);
}

TEST(SettingsFile, StoringThroughASymbolicLinkKeepsTheLink) {
  TempDir dir;
  const std::string target = dir.File("real.INI");
  const std::string link = dir.File("glyphary.INI");
  WriteText(target, "[Font]\nSize=31\n");
  std::filesystem::create_symlink(target, link);
  StoreCaptionSettings(link, LoadFrom(link));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_NE(ReadAll(target).find("Size=31\nName="), std::string::npos);
}

TEST(SettingsPath, ExtensionOfTheFileNameIsReplacedByIni) {
  EXPECT_EQ(SettingsPathFor("/opt/app/glyphary"), "/opt/app/glyphary.INI");
  EXPECT_EQ(SettingsPathFor("/opt/app/glyphary.exe"), "/opt/app/glyphary.INI");
  EXPECT_EQ(SettingsPathFor("/opt/app/glyphary.tar.gz"), "/opt/app/glyphary.tar.INI");
  EXPECT_EQ(SettingsPathFor("/opt/app.d/glyphary"), "/opt/app.d/glyphary.INI");
  EXPECT_EQ(SettingsPathFor("glyphary.bin"), "glyphary.INI");
}

TEST(SettingsPath, RunningProgramsFileLiesBesideIt) {
  const std::string path = SettingsPathForExecutable();
  EXPECT_EQ(path, std::filesystem::read_symlink("/proc/self/exe").string() + ".INI");
}

}  // namespace
}  // namespace glyphary
