#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "settings/settings_path.h"

namespace glyphary {
namespace {

constexpr char kUserSettingsFile[] = "glyphary/glyphary.INI";
constexpr char kFontConf[] = "fonts/glyphary-fonts.conf";

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  const passwd* entry = ::getpwuid(::getuid());
  return entry && entry->pw_dir ? entry->pw_dir : "/";
}

}  // namespace

std::string SettingsPathFor(std::string_view executablePath) {
  const auto slash = executablePath.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  const auto dot = executablePath.rfind('.');
  const bool hasExtension = dot != std::string_view::npos && dot >= nameStart;
  return std::string(hasExtension ? executablePath.substr(0, dot) : executablePath) + ".INI";
}

bool FolderIsWritable(const std::string& folder) {
  // Saving replaces the file through a new one in the same folder, so the
  // folder itself must take new entries.
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string UserSettingsPath() {
  // A relative XDG_CONFIG_HOME is invalid and must be ignored.
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  const std::filesystem::path base = configHome && configHome[0] == '/'
                                         ? std::filesystem::path(configHome)
                                         : std::filesystem::path(HomeFolder()) / ".config";
  return (base / kUserSettingsFile).string();
}

bool IsInstalledProgram(std::string_view executablePath) {
  const std::string found = FindProgramFileFor(executablePath, kFontConf);
  const auto beside = std::filesystem::path(executablePath).parent_path() / kFontConf;
  return !found.empty() && found != beside.lexically_normal().string();
}

std::string ChooseSettingsPath(std::string_view executablePath, const FolderProbe& writable) {
  const std::string beside = SettingsPathFor(executablePath);
  std::error_code ec;
  if (std::filesystem::exists(beside, ec)) return beside;
  // Root may write to /usr/bin, a user to ~/.local/bin: neither is a place
  // for settings.
  if (IsInstalledProgram(executablePath)) return UserSettingsPath();
  const std::string folder = std::filesystem::path(beside).parent_path().string();
  if (writable(folder.empty() ? "." : folder)) return beside;
  return UserSettingsPath();
}

std::string SettingsPathForExecutable() {
  return ChooseSettingsPath(ExecutablePath(), FolderIsWritable);
}

}  // namespace glyphary
