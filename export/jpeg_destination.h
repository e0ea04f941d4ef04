// A libjpeg destination manager that collects the compressed stream in memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace glyphary {

// `pub` comes first so that libjpeg's pointer to it is a pointer to the whole.
// The buffer lives outside the frame that calls setjmp, so a longjmp out of
// the library never skips its destructor.
struct JpegMemoryDestination {
  jpeg_destination_mgr pub;
  std::vector<std::uint8_t>* buffer;
};

// Makes `destination` the compressor's output; after jpeg_finish_compress the
// buffer holds exactly the compressed stream.
void AttachJpegMemoryDestination(j_compress_ptr cinfo, JpegMemoryDestination& destination,
                                 std::vector<std::uint8_t>& buffer);

}  // namespace glyphary
