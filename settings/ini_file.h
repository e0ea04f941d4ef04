// Reading and writing an INI document on disk.
#pragma once

#include <string>

#include "io/io.h"
#include "settings/ini_document.h"

namespace glyphary {

// The document in the file; an empty document when there is no file. Throws
// FileError when the file exists but cannot be read, is not a regular file (a
// folder, a FIFO, a device) or is larger than 1 MiB.
IniDocument ReadIniFile(const std::string& path);
// The same, but a missing file is a FileError too.
IniDocument ReadExistingIniFile(const std::string& path);

// Replaces the file atomically with the document in UTF-8; a symbolic link
// stays a link and its target is replaced. Throws FileError "%s に書き込めません
// (reason)" when the file cannot be written; any earlier file stays intact.
// Missing folders on the way are created.
void WriteIniFile(const std::string& path, const IniDocument& doc);

// A settings file that cannot be written, for the reason of `why`.
FileError CannotWriteSettings(const std::string& path, const FileError& why);

}  // namespace glyphary
