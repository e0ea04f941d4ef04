// A file written while it is encoded, so that large images are never held
// twice, and that appears whole or not at all.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "export/export.h"

namespace glyphary {

inline void WriteEncoded(const std::string& path,
                         const std::function<void(const ByteSink&)>& encode) {
  AtomicFile file(path);
  encode([&file](std::span<const std::uint8_t> bytes) { file.Write(bytes); });
  file.Commit();
}

}  // namespace glyphary
