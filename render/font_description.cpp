#include <cstdlib>
#include <limits>

#include "render/render.h"

namespace glyphary {

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = std::int64_t(a) * b;
  std::int64_t quotient = product / c;
  const std::int64_t remainder = product % c;
  // Halves round away from zero.
  if (2 * std::llabs(remainder) >= std::llabs(c)) quotient += (product < 0) != (c < 0) ? -1 : 1;
  if (quotient > std::numeric_limits<std::int32_t>::max() ||
      quotient < std::numeric_limits<std::int32_t>::min())
    return -1;
  return std::int32_t(quotient);
}

std::string CutFaceName(const std::string& name) {
  if (name.size() <= kMaxFaceNameBytes) return name;
  std::size_t end = kMaxFaceNameBytes;
  // Step back over continuation bytes so no character is split.
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  return name.substr(0, end);
}

}  // namespace glyphary
