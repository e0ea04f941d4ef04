// Written image files read back with libpng and libjpeg.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace glyphary::ui {

struct PngFacts {
  int width = 0, height = 0, colorType = -1, bitDepth = 0;
  bool hasTransparency = false, hasBackground = false;
  std::uint16_t transparentRed = 0, transparentGreen = 0, transparentBlue = 0;
};

struct JpegFacts {
  int width = 0, height = 0, components = 0;
};

// nullopt when the file is not a valid image of that kind.
std::optional<PngFacts> DecodePng(const QString& path);
std::optional<JpegFacts> DecodeJpeg(const QString& path);

}  // namespace glyphary::ui
