// Where the settings file lies: beside the program or in the user's own
// configuration folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace glyphary {

// The executable's path with the extension of its file name replaced by
// ".INI" (appended when the name has none): /opt/app/glyphary -> glyphary.INI.
std::string SettingsPathFor(std::string_view executablePath);

// Whether the program may create and replace files in `folder`.
using FolderProbe = std::function<bool(const std::string& folder)>;
bool FolderIsWritable(const std::string& folder);

// The user's own settings file: $XDG_CONFIG_HOME/glyphary/glyphary.INI, or
// ~/.config/glyphary/glyphary.INI when that variable is unset or not an
// absolute path. Its folder is created when the settings are first stored.
std::string UserSettingsPath();

// Where a program at `executablePath` keeps its settings: the file beside it
// when that file exists, or when the program is not installed and its folder
// is writable (portable copies, build trees, INI files copied from Windows);
// else the user's own file, so an installed program can store its settings.
std::string ChooseSettingsPath(std::string_view executablePath, const FolderProbe& writable);

}  // namespace glyphary
