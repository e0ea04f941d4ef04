// Targets and folders the user may not write, checked as an ordinary user,
// with unnamed temporaries and with the named ones of file systems that
// have none.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <string>

#include "export/export.h"
#include "io/atomic_temporary.h"
#include "test_support.h"
#include "unprivileged.h"

namespace glyphary {
namespace {

class AtomicFilePermissions : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    UseNamedTemporariesOnly(GetParam());
    GiveToUnprivilegedUser(dir_.Path());
  }
  void TearDown() override { UseNamedTemporariesOnly(false); }

  std::string UserFile(const std::string& name, const std::string& content, mode_t mode) {
    const std::string path = dir_.File(name);
    WriteWholeFile(path, Bytes(content));
    GiveToUnprivilegedUser(path);
    ::chmod(path.c_str(), mode);
    return path;
  }

  static ino_t InodeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_ino;
  }

  TempDir dir_;
};

TEST_P(AtomicFilePermissions, ReadOnlyFileInWritableFolderIsRefusedAndKept) {
  const std::string locked = UserFile("locked.bmp", "precious", 0444);
  const std::string error = ErrorAsUnprivilegedUser([&] {
    Bitmap caption(4, 2);
    WriteImageFile(caption, locked, ImageFormat::Bmp, ExportOptions{}, kColorWhite);
  });
  EXPECT_EQ(error, "ファイル " + locked + " を作成できません (書き込みの許可がありません)");
  EXPECT_EQ(ReadAll(locked), "precious");
  struct stat st {};
  ASSERT_EQ(::stat(locked.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
  EXPECT_EQ(dir_.Entries(), 1u);
}

// Root may open any file, but one nobody may write was made read-only on purpose.
TEST_P(AtomicFilePermissions, ReadOnlyFileIsRefusedForEveryUserWithTheSameMessage) {
  const std::string locked = UserFile("locked.png", "precious", 0444);
  const std::string expected =
      "ファイル " + locked + " を作成できません (書き込みの許可がありません)";
  const auto write = [&] {
    Bitmap caption(4, 2);
    WriteImageFile(caption, locked, ImageFormat::Png, ExportOptions{}, kColorWhite);
  };
  EXPECT_EQ(ErrorOf(write), expected) << "as this process's user";
  EXPECT_EQ(ErrorAsUnprivilegedUser(write), expected);
  EXPECT_EQ(ReadAll(locked), "precious");
  // A link to it does not get round the rule.
  const std::string link = dir_.File("link.png");
  ASSERT_EQ(::symlink(locked.c_str(), link.c_str()), 0);
  EXPECT_NE(ErrorOf([&] { WriteWholeFile(link, Bytes("x")); }), "");
  EXPECT_EQ(ReadAll(locked), "precious");
  EXPECT_EQ(dir_.Entries(), 2u);
}

TEST_P(AtomicFilePermissions, AnotherUsersFileIsRefusedEvenInOurFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs a second user";
  const std::string theirs = dir_.File("theirs.png");
  WriteWholeFile(theirs, Bytes("root's picture"));  // stays root's, 0644
  EXPECT_NE(ErrorAsUnprivilegedUser([&] { WriteWholeFile(theirs, Bytes("x")); }), "");
  EXPECT_EQ(ReadAll(theirs), "root's picture");
  EXPECT_EQ(dir_.Entries(), 1u);
}

TEST_P(AtomicFilePermissions, WritableFileInReadOnlyFolderIsRewrittenInPlace) {
  const std::string path = UserFile("caption.jpg", "an old and rather long content", 0644);
  const ino_t inode = InodeOf(path);
  ::chmod(dir_.Path().c_str(), 0555);
  EXPECT_EQ(ErrorAsUnprivilegedUser([&] { WriteWholeFile(path, Bytes("shorter")); }), "");
  EXPECT_EQ(ReadAll(path), "shorter");
  const std::string longer(100000, 'L');
  EXPECT_EQ(ErrorAsUnprivilegedUser([&] { WriteWholeFile(path, Bytes(longer)); }), "");
  EXPECT_EQ(ReadAll(path), longer);
  EXPECT_EQ(InodeOf(path), inode);
  EXPECT_EQ(dir_.Entries(), 1u);

  // A new file cannot be made there at all.
  const std::string fresh = dir_.File("new.png");
  EXPECT_EQ(ErrorAsUnprivilegedUser([&] { WriteWholeFile(fresh, Bytes("x")); }),
            "ファイル " + fresh + " を作成できません (書き込みの許可がありません)");
}

// Only a file's owner may replace it in a shared folder such as /tmp.
TEST_P(AtomicFilePermissions, AnotherUsersWritableFileInSharedFolderIsRewrittenInPlace) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs a second user";
  ASSERT_EQ(::chown(dir_.Path().c_str(), 0, 0), 0);
  ::chmod(dir_.Path().c_str(), 01777);
  const std::string shared = dir_.File("shared.png");
  WriteWholeFile(shared, Bytes("root's picture"));
  ::chmod(shared.c_str(), 0666);
  EXPECT_EQ(ErrorAsUnprivilegedUser([&] { WriteWholeFile(shared, Bytes("nobody's")); }), "");
  EXPECT_EQ(ReadAll(shared), "nobody's");
  EXPECT_EQ(dir_.Entries(), 1u);
}

// Sticky or not, a shared folder lets the owner of a file replace it: the
// user's own file in the system's temporary folder is written atomically.
TEST_P(AtomicFilePermissions, OwnFileInARootOwnedSharedFolderIsReplacedNotRewritten) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs a second user";
  ASSERT_EQ(::chown(dir_.Path().c_str(), 0, 0), 0);
  ::chmod(dir_.Path().c_str(), 01777);
  const std::string mine = UserFile("mine.png", "an old picture", 0644);
  const ino_t inode = InodeOf(mine);
  EXPECT_EQ(ErrorAsUnprivilegedUser([&] { WriteWholeFile(mine, Bytes("a new one")); }), "");
  EXPECT_EQ(ReadAll(mine), "a new one");
  EXPECT_NE(InodeOf(mine), inode);
  EXPECT_EQ(dir_.Entries(), 1u);
}

TEST_P(AtomicFilePermissions, FailedRewriteInPlaceIsReported) {
  const std::string path = UserFile("caption.bmp", "old", 0644);
  ::chmod(dir_.Path().c_str(), 0555);
  const std::string error = ErrorAsUnprivilegedUser([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit small{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &small);
    WriteWholeFile(path, Bytes(std::string(100000, 'x')));
  });
  EXPECT_EQ(error, "ファイル " + path + " に書き込めません (ファイルが大きすぎます)");
  EXPECT_EQ(dir_.Entries(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Temporaries, AtomicFilePermissions, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Named" : "Unnamed";
                         });

}  // namespace
}  // namespace glyphary
