#include "export/jpeg_error.h"

#include <string>

#include "io/io.h"

namespace glyphary {
namespace {

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  std::longjmp(manager->jump, 1);
}

void EmitMessage(j_common_ptr, int) {}
void OutputMessage(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* InstallJpegErrorManager(JpegErrorManager& manager) {
  jpeg_error_mgr* err = jpeg_std_error(&manager.pub);
  err->error_exit = ErrorExit;
  err->emit_message = EmitMessage;
  err->output_message = OutputMessage;
  return err;
}

void ThrowJpegError(int messageCode) {
  throw Error("JPEG エラー #" + std::to_string(messageCode));
}

}  // namespace glyphary
