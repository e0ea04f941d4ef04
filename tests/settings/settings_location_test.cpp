// Where the settings file lives: beside a portable or build-tree program,
// in the user's config folder for an installed one.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "export/export.h"
#include "settings/settings.h"
#include "settings/settings_path.h"
#include "test_support.h"

namespace glyphary {
namespace {

namespace fs = std::filesystem;

// Sets or clears an environment variable for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

const FolderProbe kWritable = [](const std::string&) { return true; };
const FolderProbe kReadOnly = [](const std::string&) { return false; };

void Touch(const std::string& path) {
  fs::create_directories(fs::path(path).parent_path());
  WriteWholeFile(path, Bytes("[Font]\nSize=30\n"));
}

// A program tree as `make install` lays it out below `prefix`.
std::string InstalledProgram(const std::string& prefix) {
  Touch(prefix + "/share/glyphary/fonts/glyphary-fonts.conf");
  Touch(prefix + "/bin/glyphary");
  return prefix + "/bin/glyphary";
}

TEST(ProgramFiles, BesideTheProgramBeforeTheInstalledDataFolderElseNothing) {
  TempDir dir;
  const std::string program = InstalledProgram(dir.Path());
  const std::string help = "help/index.htm";
  EXPECT_EQ(FindProgramFileFor(program, help), "");
  Touch(dir.File("share/glyphary/help/index.htm"));
  EXPECT_EQ(FindProgramFileFor(program, help), dir.File("share/glyphary/help/index.htm"));
  Touch(dir.File("bin/help/index.htm"));
  EXPECT_EQ(FindProgramFileFor(program, help), dir.File("bin/help/index.htm"));
}

TEST(SettingsLocation, PortableProgramKeepsItsSettingsBesideItWhereItMayWrite) {
  TempDir dir;
  EXPECT_TRUE(FolderIsWritable(dir.Path()));
  EXPECT_EQ(ChooseSettingsPath(dir.File("glyphary"), FolderIsWritable), dir.File("glyphary.INI"));
  // A build tree: the font file beside the program.
  Touch(dir.File("fonts/glyphary-fonts.conf"));
  EXPECT_EQ(ChooseSettingsPath(dir.File("glyphary"), kWritable), dir.File("glyphary.INI"));
}

TEST(SettingsLocation, ExistingFileBesideTheProgramIsUsedEvenWhereItCannotBeWritten) {
  TempDir dir;
  Touch(dir.File("glyphary.INI"));
  EXPECT_EQ(ChooseSettingsPath(dir.File("glyphary"), kReadOnly), dir.File("glyphary.INI"));
  const std::string program = InstalledProgram(dir.File("usr"));
  Touch(dir.File("usr/bin/glyphary.INI"));
  EXPECT_EQ(ChooseSettingsPath(program, kReadOnly), dir.File("usr/bin/glyphary.INI"));
}

TEST(SettingsLocation, ReadOnlyFolderWithoutFileGivesTheUserFile) {
  TempDir dir;
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.File("config").c_str());
    EXPECT_EQ(ChooseSettingsPath(dir.File("opt/glyphary"), kReadOnly),
              dir.File("config/glyphary/glyphary.INI"));
  }
  ScopedEnv home("HOME", dir.File("home").c_str());
  for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/config"}) {
    ScopedEnv xdg("XDG_CONFIG_HOME", unusable);
    EXPECT_EQ(ChooseSettingsPath(dir.File("opt/glyphary"), kReadOnly),
              dir.File("home/.config/glyphary/glyphary.INI"))
        << (unusable ? unusable : "(unset)");
  }
}

// Root may write to /usr/bin and a user to ~/.local/bin; an installed
// program's settings still belong in the user's folder.
TEST(SettingsLocation, InstalledProgramUsesTheUserFileWhereverItMayWrite) {
  TempDir dir;
  ScopedEnv xdg("XDG_CONFIG_HOME", dir.File("config").c_str());
  const std::string program = InstalledProgram(dir.File("usr"));
  EXPECT_TRUE(IsInstalledProgram(program));
  EXPECT_FALSE(IsInstalledProgram(dir.File("glyphary")));
  EXPECT_EQ(ChooseSettingsPath(program, kWritable), dir.File("config/glyphary/glyphary.INI"));
}

// Permissions do not bind root, so a child that is root drops to "nobody".
std::string ChosenByUnprivilegedChild(const std::string& program) {
  int fds[2];
  if (::pipe(fds) != 0) return "(no pipe)";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    const std::string chosen = ChooseSettingsPath(program, FolderIsWritable);
    const bool written = ::write(fds[1], chosen.data(), chosen.size()) == ssize_t(chosen.size());
    ::_exit(written ? 0 : 3);
  }
  ::close(fds[1]);
  std::string chosen;
  char buffer[512];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) chosen.append(buffer, n);
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? chosen : "(child failed)";
}

TEST(SettingsLocation, FolderTheUserCannotWriteGivesTheUserFile) {
  TempDir dir;
  ScopedEnv xdg("XDG_CONFIG_HOME", dir.File("config").c_str());
  const std::string folder = dir.File("opt");
  fs::create_directory(folder);
  fs::permissions(dir.Path(), fs::perms::owner_all | fs::perms::others_exec);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  EXPECT_EQ(ChosenByUnprivilegedChild(folder + "/glyphary"),
            dir.File("config/glyphary/glyphary.INI"));
  fs::permissions(folder, fs::perms::owner_all);
}

TEST(SettingsLocation, FirstStoreCreatesTheUserFolderAndTheNextStartReadsIt) {
  TempDir dir;
  ScopedEnv xdg("XDG_CONFIG_HOME", dir.File("fresh/config").c_str());
  const std::string path = UserSettingsPath();
  CaptionSettings stored;
  stored.style.pointSize = 41;
  stored.style.bold = true;
  stored.exportOptions.jpegQuality = 88;
  StoreCaptionSettings(path, stored);
  EXPECT_TRUE(fs::is_regular_file(dir.File("fresh/config/glyphary/glyphary.INI")));

  CaptionSettings restored;
  LoadCaptionSettings(ChooseSettingsPath(dir.File("opt/glyphary"), kReadOnly), restored);
  EXPECT_EQ(restored.style.pointSize, 41);
  EXPECT_TRUE(restored.style.bold);
  EXPECT_EQ(restored.exportOptions.jpegQuality, 88);
}

}  // namespace
}  // namespace glyphary
