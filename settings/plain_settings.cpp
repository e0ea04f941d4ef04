#include <algorithm>
#include <exception>
#include <string>

#include "settings/plain_settings.h"
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
  std::exception_ptr firstFailure;
  const auto load = [&](auto&& part) {
    try {
      part();
    } catch (const Error&) {
      if (!firstFailure) firstFailure = std::current_exception();
    }
  };
  load([&] {
    PlainMainSettings main(settings.window, settings.style);
    LoadMainSettings(path, main);
  });
  PlainExportSettings exportOptions(settings.exportOptions);
  LoadExportOptions(path, exportOptions);
  load([&] {
    PlainEffectSettings effect(settings.style.effect);
    LoadEffectSettings(path, effect);
  });
  load([&] {
    PlainLayoutSettings layout(settings.style.layout);
    LoadLayoutSettings(path, layout);
  });
  if (firstFailure) std::rethrow_exception(firstFailure);
}

void StoreCaptionSettings(const std::string& path, const CaptionSettings& settings) {
  CaptionSettings copy = settings;
  PlainExportSettings exportOptions(copy.exportOptions);
  StoreExportOptions(path, exportOptions);
  PlainMainSettings main(copy.window, copy.style);
  StoreMainSettings(path, main);
  PlainEffectSettings effect(copy.style.effect);
  StoreEffectSettings(path, effect);
  PlainLayoutSettings layout(copy.style.layout);
  StoreLayoutSettings(path, layout);
}

}  // namespace glyphary
