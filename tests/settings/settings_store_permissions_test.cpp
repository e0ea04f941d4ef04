// Storing the settings where the user may not write, checked as an ordinary user.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "export/export.h"
#include "settings/settings.h"
#include "test_support.h"
#include "unprivileged.h"

namespace glyphary {
namespace {

class SettingsStorePermissions : public ::testing::Test {
 protected:
  void SetUp() override {
    GiveToUnprivilegedUser(dir_.Path());
    WriteWholeFile(path_, Bytes(kOld));
    GiveToUnprivilegedUser(path_);
  }

  static CaptionSettings Bigger() {
    CaptionSettings settings;
    settings.style.pointSize = 40;
    return settings;
  }

  static constexpr char kOld[] = "; mine\n[Font]\nSize=31\n";
  TempDir dir_;
  std::string path_ = dir_.File("glyphary.INI");
};

TEST_F(SettingsStorePermissions, ReadOnlyFileIsRefusedForEveryUserWithItsReason) {
  ::chmod(path_.c_str(), 0444);
  const std::string expected = path_ + " に書き込めません (書き込みの許可がありません)";
  const auto store = [&] { StoreCaptionSettings(path_, Bigger()); };
  EXPECT_EQ(ErrorOf(store), expected) << "as this process's user, root in CI";
  EXPECT_EQ(ErrorAsUnprivilegedUser(store), expected);
  EXPECT_EQ(ReadAll(path_), kOld);
  EXPECT_EQ(dir_.Entries(), 1u);
}

TEST_F(SettingsStorePermissions, UnreadableFileIsRefusedWithItsReasonAndKept) {
  ::chmod(path_.c_str(), 0200);
  EXPECT_EQ(ErrorAsUnprivilegedUser([&] { StoreCaptionSettings(path_, Bigger()); }),
            path_ + " に書き込めません (読み取りの許可がありません)");
  ::chmod(path_.c_str(), 0600);
  EXPECT_EQ(ReadAll(path_), kOld);
}

TEST_F(SettingsStorePermissions, WritableFileInReadOnlyFolderIsStored) {
  ::chmod(dir_.Path().c_str(), 0555);
  EXPECT_EQ(ErrorAsUnprivilegedUser([&] { StoreCaptionSettings(path_, Bigger()); }), "");
  CaptionSettings loaded;
  LoadCaptionSettings(path_, loaded);
  EXPECT_EQ(loaded.style.pointSize, 40);
  EXPECT_EQ(ReadAll(path_).rfind("; mine\n", 0), 0u);
  EXPECT_EQ(dir_.Entries(), 1u);
}

}  // namespace
}  // namespace glyphary
