#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "export/export.h"
#include "test_support.h"

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

TEST(AtomicFile, NewFileGetsOrdinaryPermissionsAndReplacedFileKeepsItsOwn) {
  TempDir dir;
  const std::string path = dir.File("out.bin");
  WriteWholeFile(path, Bytes("x"));
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IRGRP, 0u);  // not the 0600 of a temporary file
  ::chmod(path.c_str(), 0640);
  WriteWholeFile(path, Bytes("y"));
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(AtomicFile, MissingFolderGivesTheCannotCreateMessage) {
  TempDir dir;
  const std::string path = dir.File("no/such/folder/out.bin");
  try {
    WriteWholeFile(path, Bytes("x"));
    FAIL() << "expected an error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "ファイル " + path + " を作成できません");
  }
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
