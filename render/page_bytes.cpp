#include "render/page_bytes.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <new>
#include <utility>

namespace glyphary {
namespace {

// Below this a block comes from the heap, where the saving is not worth a mapping.
constexpr std::size_t kMappedFrom = 1u << 20;

std::size_t PageSize() {
  static const std::size_t size = std::size_t(sysconf(_SC_PAGESIZE));
  return size;
}

}  // namespace

PageBytes::PageBytes(std::size_t size) : size_(size), mapped_(size >= kMappedFrom) {
  if (!mapped_) {
    data_ = new std::uint8_t[size];
    return;
  }
  void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  data_ = static_cast<std::uint8_t*>(block);
}

PageBytes::~PageBytes() {
  Release();
}

PageBytes::PageBytes(PageBytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      forgotten_(std::exchange(other.forgotten_, 0)),
      mapped_(std::exchange(other.mapped_, false)) {}

PageBytes& PageBytes::operator=(PageBytes&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    forgotten_ = std::exchange(other.forgotten_, 0);
    mapped_ = std::exchange(other.mapped_, false);
  }
  return *this;
}

void PageBytes::ForgetBefore(std::size_t offset) {
  if (!mapped_) return;
  const std::size_t end = std::min(offset, size_) / PageSize() * PageSize();
  if (end <= forgotten_) return;
  // Only a hint: where the system declines, the pages simply stay.
  madvise(data_ + forgotten_, end - forgotten_, MADV_DONTNEED);
  forgotten_ = end;
}

void PageBytes::Release() {
  if (mapped_)
    munmap(data_, size_);
  else
    delete[] data_;
  data_ = nullptr;
}

}  // namespace glyphary
