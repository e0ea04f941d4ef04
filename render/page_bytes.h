// Memory whose front can go back to the system while the rest is in use.
#pragma once

#include <cstddef>
#include <cstdint>

namespace glyphary {

class PageBytes {
 public:
  PageBytes() = default;
  // Unset bytes; a large block gets pages of its own, which Forget can return.
  explicit PageBytes(std::size_t size);
  ~PageBytes();
  PageBytes(PageBytes&& other) noexcept;
  PageBytes& operator=(PageBytes&& other) noexcept;
  PageBytes(const PageBytes&) = delete;
  PageBytes& operator=(const PageBytes&) = delete;

  std::uint8_t* Data() const { return data_; }
  std::size_t Size() const { return size_; }
  // Gives back the whole pages before `offset`; their bytes must not be
  // read again.
  void ForgetBefore(std::size_t offset);

 private:
  void Release();

  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t forgotten_ = 0;  // bytes given back, a whole number of pages
  bool mapped_ = false;
};

}  // namespace glyphary
