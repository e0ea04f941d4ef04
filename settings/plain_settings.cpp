#include <algorithm>
#include <exception>
#include <string>

#include "settings/settings.h"

namespace glyphary {

void PlainMainSettings::SetWidth(std::int32_t) {
  window_.width = kMainWindowWidth;
}

void PlainMainSettings::SetHeight(std::int32_t height) {
  window_.height = std::clamp(height, kMainWindowMinHeight, kMainWindowMaxHeight);
}

void PlainExportSettings::SetJpegQuality(std::int32_t quality) {
  options_.jpegQuality = ClampJpegQuality(quality);
}

void PlainExportSettings::SetPngTransparent(bool on) {
  glyphary::SetPngTransparent(options_, on);
}

void LoadCaptionSettings(const std::string& path, CaptionSettings& settings) {
  std::exception_ptr mainFailure;
  try {
    PlainMainSettings main(settings.window, settings.style);
    LoadMainSettings(path, main);
  } catch (const Error&) {
    mainFailure = std::current_exception();
  }
  PlainExportSettings exportOptions(settings.exportOptions);
  LoadExportOptions(path, exportOptions);
  if (mainFailure) std::rethrow_exception(mainFailure);
}

void StoreCaptionSettings(const std::string& path, const CaptionSettings& settings) {
  CaptionSettings copy = settings;
  PlainExportSettings exportOptions(copy.exportOptions);
  StoreExportOptions(path, exportOptions);
  PlainMainSettings main(copy.window, copy.style);
  StoreMainSettings(path, main);
}

}  // namespace glyphary
