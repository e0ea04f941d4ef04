#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "cli/cli_fixture.h"
#include "export/export.h"
#include "png_facts.h"
#include "render/render.h"

namespace glyphary {
namespace {

class BatchCli : public CliTest {
 protected:
  BatchCli() { std::filesystem::create_directory(out_); }

  std::string List(const std::string& contents) {
    WriteWholeFile(dir_.File("list.txt"), Bytes(contents));
    return dir_.File("list.txt");
  }
  int RunBatch(const std::string& contents, const std::string& options = "") {
    return RunCli("batch " + List(contents) + " --folder " + out_ + " " + options);
  }
  std::size_t Written() const {
    return std::size_t(std::distance(std::filesystem::directory_iterator(out_),
                                     std::filesystem::directory_iterator()));
  }
  const std::string out_ = dir_.File("out");
};

TEST_F(BatchCli, WritesEveryRowWithTheStyleGivenAndSkipsBlankLines) {
  ASSERT_EQ(RunBatch("日本語 Caption\tone\n\n   \t  \r\n\n二番目 second\ttwo\r\n",
                     "--format bmp --size 40 --bold --color clNavy"),
            0)
      << Stderr();
  CaptionStyle style;
  style.pointSize = 40;
  style.bold = true;
  style.textColor = Rgb(0, 0, 128);
  ExpectSameImage(ReadBmpFile(out_ + "/one.bmp"), Rendered("日本語 Caption", style));
  ExpectSameImage(ReadBmpFile(out_ + "/two.bmp"), Rendered("二番目 second", style));
  EXPECT_TRUE(std::filesystem::exists(out_ + "/  .bmp"));  // spaces are a name, not a blank row
  EXPECT_EQ(Written(), 3u);
}

// Only with --escapes does a list write a line break; otherwise it means
// what it always meant.
TEST_F(BatchCli, EscapesWriteLineBreaksAndBackslashesOnlyWhenAskedFor) {
  const std::string list = "一行目\\n二行目\tbroken\nC:\\\\temp \\x\tpath\n";
  ASSERT_EQ(RunBatch(list, "--format bmp --escapes"), 0) << Stderr();
  ExpectSameImage(ReadBmpFile(out_ + "/broken.bmp"), Rendered("一行目\n二行目"));
  ExpectSameImage(ReadBmpFile(out_ + "/path.bmp"), Rendered("C:\\temp \\x"));
  ASSERT_EQ(RunBatch(list, "--format bmp"), 0) << Stderr();
  ExpectSameImage(ReadBmpFile(out_ + "/broken.bmp"), Rendered("一行目\\n二行目"));
}

TEST_F(BatchCli, ReadsStandardInputAndWritesJpegByDefault) {
  List("first\ta\nsecond\tb\n");
  ASSERT_EQ(RunCli("batch - --folder " + out_ + " < " + dir_.File("list.txt")), 0) << Stderr();
  EXPECT_TRUE(std::filesystem::exists(out_ + "/a.jpg"));
  EXPECT_TRUE(std::filesystem::exists(out_ + "/b.jpg"));
  EXPECT_EQ(Written(), 2u);
}

TEST_F(BatchCli, ChecksEveryRowAndNamesTheLineWritingNothing) {
  EXPECT_EQ(RunBatch("a\tx\n\nb\tx\nlonely\nc\ty\n"), 1);
  EXPECT_NE(Stderr().find("4 行目: 正しく入力されていない項目があります"), std::string::npos)
      << Stderr();
  EXPECT_EQ(RunBatch("a\tTitle\nb\ttitle\n\nc\tTitle\n"), 1);
  EXPECT_NE(Stderr().find("4 行目: ファイル名に重複があります (1 行目と同じ)"), std::string::npos)
      << Stderr();
  EXPECT_EQ(RunBatch("a\tok\nb\t表\nc\tあ/\n"), 1);
  EXPECT_NE(Stderr().find("3 行目: ファイル名に \\ / : ? < > | は使えません"), std::string::npos)
      << Stderr();
  EXPECT_EQ(RunBatch(std::string("a\tok\nb\tcut\0.png\n", 16)), 1);
  EXPECT_NE(Stderr().find("2 行目: NUL 文字は使えません"), std::string::npos) << Stderr();
  EXPECT_EQ(Written(), 0u);
}

TEST_F(BatchCli, AFailingWriteNamesItsLineAndKeepsTheEarlierFiles) {
  std::filesystem::create_directory(out_ + "/r2.png");
  // Blank lines before the failing row count as lines all the same. One job:
  // with more, the rows after the failing one may be under way already.
  EXPECT_EQ(RunBatch("one\tr1\n\n\ntwo\tr2\nthree\tr3\n", "--format png --jobs 1"), 1);
  EXPECT_NE(Stderr().find("4 行目: ファイル " + out_ + "/r2.png を作成できません"),
            std::string::npos)
      << Stderr();
  EXPECT_TRUE(std::filesystem::exists(out_ + "/r1.png"));
  EXPECT_FALSE(std::filesystem::exists(out_ + "/r3.png"));
}

TEST_F(BatchCli, RendersAThousandRowsInOneRun) {
  std::string list;
  for (int i = 1; i <= 1000; ++i)
    list += "字幕 caption " + std::to_string(i) + "\tc" + std::to_string(i) + "\n";
  ASSERT_EQ(RunBatch(list, "--format png --transparent"), 0) << Stderr();
  EXPECT_EQ(Written(), 1000u);
  EXPECT_GT(std::filesystem::file_size(out_ + "/c1000.png"), 0u);
}

// Rows made by several worker processes give the same files as one job.
TEST_F(BatchCli, JobsWriteTheSameFilesWhateverTheirNumber) {
  std::string list;
  for (int i = 1; i <= 24; ++i)
    list += "行 gyj " + std::to_string(i) + "\tr" + std::to_string(i) + "\n";
  ASSERT_EQ(RunBatch(list, "--format bmp --jobs 1"), 0) << Stderr();
  std::filesystem::rename(out_, dir_.File("one"));
  for (const char* jobs : {"2", "4"}) {
    std::filesystem::remove_all(out_);
    std::filesystem::create_directory(out_);
    ASSERT_EQ(RunBatch(list, std::string("--format bmp --jobs ") + jobs), 0) << Stderr();
    ASSERT_EQ(Written(), 24u);
    for (int i = 1; i <= 24; ++i) {
      const std::string name = "/r" + std::to_string(i) + ".bmp";
      EXPECT_EQ(ReadAll(out_ + name), ReadAll(dir_.File("one") + name)) << name << " " << jobs;
    }
  }
  EXPECT_EQ(RunBatch(list, "--jobs 0"), 2);
}

// A batch of large captions with two worker processes, run in the background
// so that it can be interrupted while the workers write.
class InterruptedBatch : public BatchCli {
 protected:
  void Start() {
    std::string list;
    for (int i = 0; i < 400; ++i)
      list += "字幕 gyj " + std::to_string(i) + "\tr" + std::to_string(i) + "\n";
    const std::vector<std::string> words = {GLYPHARY_CLI, "batch",  List(list), "--folder",
                                            out_,         "--size", "150",      "--format",
                                            "png",        "--jobs", "2"};
    std::vector<char*> argv;
    for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, dir_.File("stderr").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // Whatever the test runner ignores, the program starts with the usual actions.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t stops;
    sigemptyset(&stops);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stops, sig);
    posix_spawnattr_setsigdefault(&attributes, &stops);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    ASSERT_EQ(posix_spawn(&pid_, argv[0], &files, &attributes, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    // Under way: a few files written, both workers busy.
    for (int wait = 0; wait < 2000 && Written() < 4; ++wait) ::usleep(10000);
    ASSERT_GE(Written(), 4u);
    workers_ = Workers();
    ASSERT_EQ(workers_.size(), 2u);
  }

  std::vector<pid_t> Workers() const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/task/" + std::to_string(pid_) +
                     "/children");
    std::vector<pid_t> pids;
    for (pid_t p; in >> p;) pids.push_back(p);
    return pids;
  }

  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

  // Every file there is a whole PNG, and nothing else is there.
  void ExpectOnlyWholeFiles() const {
    for (const auto& entry : std::filesystem::directory_iterator(out_)) {
      const std::string name = entry.path().filename().string();
      EXPECT_THAT(name, ::testing::MatchesRegex("r[0-9]+\\.png"));
      EXPECT_GT(ReadPng(entry.path().string()).height, 0) << name;
    }
  }

  ~InterruptedBatch() override {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
  }

  pid_t pid_ = -1;
  std::vector<pid_t> workers_;
};

// The row the dead worker left unmade is named; the rows before it are written.
TEST_F(InterruptedBatch, AWorkerKilledMidRunFailsTheRunAtItsRowLeavingOnlyWholeFiles) {
  GLYPHARY_SKIP_UNDER_EMULATOR("starts the program in the background");
  Start();
  ASSERT_EQ(::kill(workers_[0], SIGKILL), 0);
  const int status = Wait();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::smatch named;
  const std::string message = Stderr();
  ASSERT_TRUE(std::regex_search(
      message, named,
      std::regex(
          "glyphary-cli batch: ([0-9]+) 行目: 作業プロセスが異常終了しました \\(シグナル 9\\)")))
      << message;
  const int row = std::stoi(named[1]) - 1;
  for (int i = 0; i < row; ++i)
    EXPECT_TRUE(std::filesystem::exists(out_ + "/r" + std::to_string(i) + ".png")) << i;
  EXPECT_LT(Written(), 400u);
  ExpectOnlyWholeFiles();
}

// The program stops its workers, then ends by the signal, leaving no worker
// running and no part of a file.
TEST_F(InterruptedBatch, AStopSignalEndsWorkersAndProgramLeavingOnlyWholeFiles) {
  GLYPHARY_SKIP_UNDER_EMULATOR("starts the program in the background");
  for (int sig : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(sig);
    std::filesystem::remove_all(out_);
    std::filesystem::create_directory(out_);
    Start();
    ASSERT_EQ(::kill(pid_, sig), 0);
    const int status = Wait();
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), sig);
    for (pid_t worker : workers_)
      EXPECT_TRUE(::kill(worker, 0) != 0 && errno == ESRCH) << "worker " << worker << " left";
    EXPECT_LT(Written(), 400u);
    ExpectOnlyWholeFiles();
  }
}

// Spaces alone would name a folder of spaces.
TEST_F(BatchCli, AFolderOfOnlySpacesIsRefusedBeforeAnythingIsWritten) {
  EXPECT_EQ(RunCli("batch " + List("a\tb\n") + " --folder '   '"), 1);
  EXPECT_NE(Stderr().find("--folder: 保存場所を入力してください"), std::string::npos) << Stderr();
  EXPECT_FALSE(std::filesystem::exists("   "));
}

TEST_F(BatchCli, RefusesAWrongCommandLine) {
  EXPECT_EQ(RunCli("batch " + List("a\tb\n")), 2);
  EXPECT_NE(Stderr().find("--folder"), std::string::npos);
  EXPECT_EQ(RunCli("batch " + List("a\tb\n") + " --folder ''"), 2);
  // A format is a name, not a path that ends in one.
  for (const char* format : {"gif", ".png", "x.png", "out/x.png"})
    EXPECT_EQ(RunBatch("a\tb\n", std::string("--format ") + format), 2) << format;
  EXPECT_EQ(RunBatch("a\tb\n", "--quality 5"), 2);
  EXPECT_EQ(RunCli("batch " + dir_.File("missing.txt") + " --folder " + out_), 1);
  EXPECT_EQ(Written(), 0u);
}

}  // namespace
}  // namespace glyphary
