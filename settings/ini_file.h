// Reading and writing an INI document on disk.
#pragma once

#include <string>

#include "settings/ini_document.h"

namespace glyphary {

// The document in the file; an empty document when there is no file. Throws
// Error when the file exists but cannot be read, is not a regular file (a
// folder, a FIFO, a device) or is larger than 1 MiB.
IniDocument ReadIniFile(const std::string& path);
// The same, but a missing file is an Error too.
IniDocument ReadExistingIniFile(const std::string& path);

// Replaces the file atomically with the document in UTF-8; a symbolic link
// stays a link and its target is replaced. Throws Error "%s に書き込めません"
// (the path) when the file cannot be written; any earlier file stays intact.
// Missing folders on the way are created.
void WriteIniFile(const std::string& path, const IniDocument& doc);

// The message of a settings file that cannot be written.
std::string CannotWriteSettings(const std::string& path);

}  // namespace glyphary
