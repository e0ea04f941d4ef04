#include "render/page_bytes.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <new>

namespace glyphary {
namespace {

// Below this a block comes from the heap, where the saving is not worth a mapping.
constexpr std::size_t kMappedFrom = 1u << 20;

std::size_t PageSize() {
  static const std::size_t size = std::size_t(sysconf(_SC_PAGESIZE));
  return size;
}

std::uint8_t* Map(std::size_t size) {
  void* block = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  return static_cast<std::uint8_t*>(block);
}

}  // namespace

void PageBytesRelease::operator()(std::uint8_t* bytes) const {
  if (mapped)
    munmap(bytes, size);
  else
    delete[] bytes;
}

PageBytes::PageBytes(std::size_t size)
    : bytes_(size >= kMappedFrom ? Map(size) : new std::uint8_t[size],
             PageBytesRelease{size, size >= kMappedFrom}) {}

void PageBytes::ForgetBefore(std::size_t offset) {
  if (!bytes_ || !bytes_.get_deleter().mapped) return;
  const std::size_t end = std::min(offset, Size()) / PageSize() * PageSize();
  if (end <= forgotten_) return;
  // Only a hint: where the system declines, the pages simply stay.
  madvise(bytes_.get() + forgotten_, end - forgotten_, MADV_DONTNEED);
  forgotten_ = end;
}

}  // namespace glyphary
