#include <zlib.h>

#include <array>

#include "export/png_writer.h"

namespace glyphary {

PngOutputBuffer::PngOutputBuffer(Sink sink) : sink_(std::move(sink)) {
  buffer_.reserve(kPngWriteBufferSize);
}

void PngOutputBuffer::Write(std::span<const std::uint8_t> bytes) {
  if (bytes.size() >= kPngDirectWriteSize) {
    Flush();
    sink_(bytes);
    return;
  }
  if (buffer_.size() + bytes.size() > kPngWriteBufferSize) Flush();
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

void PngOutputBuffer::Flush() {
  if (buffer_.empty()) return;
  sink_(buffer_);
  buffer_.clear();
}

void WritePngChunk(PngOutputBuffer& out, std::string_view type, const std::uint8_t* data,
                   std::size_t length) {
  const auto* typeBytes = reinterpret_cast<const Bytef*>(type.data());
  const std::array<std::uint8_t, 8> head = {std::uint8_t(length >> 24),
                                            std::uint8_t(length >> 16),
                                            std::uint8_t(length >> 8),
                                            std::uint8_t(length),
                                            typeBytes[0],
                                            typeBytes[1],
                                            typeBytes[2],
                                            typeBytes[3]};
  out.Write(head);
  uLong crc = crc32(0L, typeBytes, 4);
  if (data != nullptr && length > 0) {
    out.Write({data, length});
    crc = crc32(crc, data, uInt(length));
  }
  const std::array<std::uint8_t, 4> tail = {std::uint8_t(crc >> 24), std::uint8_t(crc >> 16),
                                            std::uint8_t(crc >> 8), std::uint8_t(crc)};
  out.Write(tail);
}

}  // namespace glyphary
