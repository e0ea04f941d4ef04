// Memory whose front can go back to the system while the rest is in use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace glyphary {

// How a block of PageBytes goes back: declared whole before PageBytes, so
// that its holder can be made empty.
struct PageBytesRelease {
  std::size_t size = 0;
  bool mapped = false;
  void operator()(std::uint8_t* bytes) const;
};

class PageBytes {
 public:
  PageBytes() = default;
  // Unset bytes; a large block gets pages of its own, which Forget can return.
  explicit PageBytes(std::size_t size);

  std::uint8_t* Data() const { return bytes_.get(); }
  std::size_t Size() const { return bytes_ ? bytes_.get_deleter().size : 0; }
  // Gives back the whole pages before `offset`; their bytes must not be
  // read again.
  void ForgetBefore(std::size_t offset);

 private:
  std::unique_ptr<std::uint8_t[], PageBytesRelease> bytes_;
  std::size_t forgotten_ = 0;  // bytes given back, a whole number of pages
};

}  // namespace glyphary
