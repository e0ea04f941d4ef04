#include "export/jpeg_destination.h"

#include <jerror.h>

namespace glyphary {
namespace {

constexpr std::size_t kInitialSize = 64 * 1024;

JpegMemoryDestination& DestinationOf(j_compress_ptr cinfo) {
  return *reinterpret_cast<JpegMemoryDestination*>(cinfo->dest);
}

// Grows the buffer and points libjpeg at the new free space after `used`
// bytes. An allocation failure becomes a libjpeg error, raised only after the
// C++ exception is finished with.
void Grow(j_compress_ptr cinfo, std::size_t used, std::size_t size) {
  JpegMemoryDestination& d = DestinationOf(cinfo);
  bool failed = false;
  try {
    d.buffer->resize(size);
  } catch (...) {
    failed = true;
  }
  if (failed) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
  d.pub.next_output_byte = d.buffer->data() + used;
  d.pub.free_in_buffer = size - used;
}

void InitDestination(j_compress_ptr cinfo) {
  Grow(cinfo, 0, kInitialSize);
}

// Called when the buffer is full: the whole buffer is in use.
boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  const std::size_t used = DestinationOf(cinfo).buffer->size();
  Grow(cinfo, used, used * 2);
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  JpegMemoryDestination& d = DestinationOf(cinfo);
  d.buffer->resize(d.buffer->size() - d.pub.free_in_buffer);
}

}  // namespace

void AttachJpegMemoryDestination(j_compress_ptr cinfo, JpegMemoryDestination& destination,
                                 std::vector<std::uint8_t>& buffer) {
  buffer.clear();
  destination.buffer = &buffer;
  destination.pub.next_output_byte = nullptr;
  destination.pub.free_in_buffer = 0;
  destination.pub.init_destination = InitDestination;
  destination.pub.empty_output_buffer = EmptyOutputBuffer;
  destination.pub.term_destination = TermDestination;
  cinfo->dest = &destination.pub;
}

}  // namespace glyphary
