#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "export/export.h"
#include "io/atomic_temporary.h"
#include "test_support.h"
#include "unprivileged.h"

namespace glyphary {
namespace {

namespace fs = std::filesystem;

TEST(AtomicFile, CommitReplacesTheWholeFile) {
  TempDir dir;
  const std::string path = dir.File("out.bin");
  WriteWholeFile(path, Bytes("a long first content"));
  WriteWholeFile(path, Bytes("short"));
  EXPECT_EQ(ReadAll(path), "short");
  EXPECT_EQ(dir.Entries(), 1u);  // no temporary left behind
}

TEST(AtomicFile, AbandonedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  TempDir dir;
  const std::string path = dir.File("out.bin");
  WriteWholeFile(path, Bytes("precious"));
  {
    AtomicFile file(path);
    file.Write(Bytes("half"));
  }  // destroyed without Commit, as when an exception unwinds
  EXPECT_EQ(ReadAll(path), "precious");
  EXPECT_EQ(dir.Entries(), 1u);
}

// With unnamed temporaries and with the named ones of file systems that
// have none.
class AtomicFileTemporaries : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { UseNamedTemporariesOnly(GetParam()); }
  void TearDown() override { UseNamedTemporariesOnly(false); }
};

TEST_P(AtomicFileTemporaries, NewFileGetsOrdinaryPermissionsAndReplacedFileKeepsItsOwn) {
  TempDir dir;
  const std::string path = dir.File("out.bin");
  const mode_t mask = ::umask(022);
  WriteWholeFile(path, Bytes("x"));
  ::umask(mask);
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);  // not the 0600 of a temporary file
  ::chmod(path.c_str(), 0640);
  WriteWholeFile(path, Bytes("y"));
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// Lets every fsync of this process fail with an I/O error.
bool FailEveryFsync() {
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fsync, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EIO & SECCOMP_RET_DATA)),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
  return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// A file is put in place only once its content is on the disk: where that
// cannot be made sure of, the write fails and the old file stays.
TEST_P(AtomicFileTemporaries, AFailingFsyncIsAWriteErrorAndKeepsTheOldFile) {
  GLYPHARY_SKIP_UNDER_EMULATOR("the emulator refuses the guest's seccomp filter");
  TempDir dir;
  const std::string path = dir.File("caption.png");
  WriteWholeFile(path, Bytes("the old picture"));
  const std::string error =
      ErrorInChild(FailEveryFsync, [&] { WriteWholeFile(path, Bytes("the new picture")); });
  EXPECT_TRUE(error.starts_with("ファイル " + path + " に書き込めません (")) << error;
  EXPECT_EQ(ReadAll(path), "the old picture");
  EXPECT_EQ(dir.Entries(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Temporaries, AtomicFileTemporaries, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Named" : "Unnamed";
                         });

std::string ErrorOf(const std::string& path) {
  try {
    WriteWholeFile(path, Bytes("x"));
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

TEST(AtomicFile, MissingFolderGivesTheCannotCreateMessage) {
  TempDir dir;
  const std::string path = dir.File("no/such/folder/out.bin");
  EXPECT_EQ(ErrorOf(path), "ファイル " + path + " を作成できません (フォルダーが見つかりません)");
}

TEST(AtomicFile, EachCommonCauseNamesItsReasonAfterTheMessage) {
  TempDir dir;
  WriteWholeFile(dir.File("plain"), Bytes("x"));
  fs::create_directory(dir.File("sub"));
  const std::string tooLong = dir.File(std::string(256, 'n') + ".bmp");
  const std::pair<std::string, std::string> cases[] = {
      {dir.File("sub"), "同じ名前のフォルダーがあります"},
      {dir.File("plain/out.bmp"), "途中にフォルダーでないものがあります"},
      {tooLong, "名前が長すぎます"},
  };
  for (const auto& [path, reason] : cases)
    EXPECT_EQ(ErrorOf(path), "ファイル " + path + " を作成できません (" + reason + ")");
  EXPECT_EQ(dir.Entries(), 2u);
}

TEST(MakeFolders, MakesEveryMissingFolderOrNamesTheReason) {
  TempDir dir;
  MakeFolders(dir.File("a/b/c"));
  MakeFolders(dir.File("a/b/c"));
  EXPECT_TRUE(fs::is_directory(dir.File("a/b/c")));
  WriteWholeFile(dir.File("plain"), Bytes("x"));
  const std::string under = dir.File("plain/sub");
  try {
    MakeFolders(under);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), ("フォルダー " + under +
                            " を作成できません (途中にフォルダーでないものがあります)")
                               .c_str());
  }
}

// The temporary's name is short, so the longest name the file system takes works.
TEST(AtomicFile, NamesOfUpTo255BytesCanBeWrittenAndReplaced) {
  TempDir dir;
  for (std::size_t length : {248u, 251u, 255u}) {
    const std::string path = dir.File(std::string(length - 4, 'a') + ".png");
    WriteWholeFile(path, Bytes("first"));
    WriteWholeFile(path, Bytes("second"));
    EXPECT_EQ(ReadAll(path), "second");
  }
  EXPECT_EQ(dir.Entries(), 3u);
}

TEST(AtomicFile, SymbolicLinksAreFollowedAndTheirTargetReplaced) {
  TempDir dir;
  fs::create_directory(dir.File("real"));
  const std::string target = dir.File("real/caption.bmp");
  WriteWholeFile(target, Bytes("old"));
  fs::create_symlink("real/caption.bmp", dir.File("relative.bmp"));
  fs::create_symlink(dir.File("relative.bmp"), dir.File("chain.bmp"));
  WriteWholeFile(dir.File("chain.bmp"), Bytes("through two links"));
  EXPECT_TRUE(fs::is_symlink(dir.File("chain.bmp")));
  EXPECT_TRUE(fs::is_symlink(dir.File("relative.bmp")));
  EXPECT_EQ(ReadAll(target), "through two links");

  // A link whose target does not exist yet creates it.
  fs::create_symlink("real/later.bmp", dir.File("dangling.bmp"));
  WriteWholeFile(dir.File("dangling.bmp"), Bytes("made"));
  EXPECT_EQ(ReadAll(dir.File("real/later.bmp")), "made");
  EXPECT_EQ(dir.Entries(), 4u);

  fs::create_symlink("loop.bmp", dir.File("loop.bmp"));
  EXPECT_EQ(ErrorOf(dir.File("loop.bmp")),
            "ファイル " + dir.File("loop.bmp") +
                " を作成できません (シンボリックリンクが循環しています)");
}

TEST(AtomicFile, FifoIsRefusedWithoutBlocking) {
  TempDir dir;
  const std::string fifo = dir.File("pipe.bmp");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(ErrorOf(fifo), "ファイル " + fifo + " を作成できません (通常のファイルではありません)");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(AtomicFile, FullDiskKeepsTheOldFileAndSaysWhy) {
  TempDir dir;
  const std::string path = dir.File("out.bmp");
  WriteWholeFile(path, Bytes("old"));
  rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  try {
    WriteWholeFile(path, Bytes(std::string(4096, 'x')));
  } catch (const Error& e) {
    error = e.what();
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(error, "ファイル " + path + " に書き込めません (ファイルが大きすぎます)");
  EXPECT_EQ(ReadAll(path), "old");
  EXPECT_EQ(dir.Entries(), 1u);
}

TEST(AtomicFile, PathNamingAFolderIsRefusedAndTheFolderSurvives) {
  TempDir dir;
  const std::string path = dir.File("sub");
  fs::create_directory(path);
  EXPECT_THROW(WriteWholeFile(path, Bytes("x")), Error);
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_EQ(dir.Entries(), 1u);
}

}  // namespace
}  // namespace glyphary
