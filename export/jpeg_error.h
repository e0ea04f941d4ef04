// libjpeg error handling: a fatal error leaves the library by longjmp, never
// by a C++ exception, and the caller turns it into a glyphary::Error.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace glyphary {

// `pub` comes first so that libjpeg's pointer to it is a pointer to the whole.
struct JpegErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

// Sets up `manager`: error_exit jumps to manager.jump, warnings and messages
// are dropped. Returns the pointer to put in the compressor's `err`.
jpeg_error_mgr* InstallJpegErrorManager(JpegErrorManager& manager);

// Throws Error "JPEG エラー #<code>".
[[noreturn]] void ThrowJpegError(int messageCode);

}  // namespace glyphary
