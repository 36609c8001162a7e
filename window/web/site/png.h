// PNG files from RGBA pixels, written without any library: one IDAT of a
// zlib stream whose single deflate block uses the fixed Huffman codes and
// repeats of the previous byte. Made for the web app's icons, which are
// pixel art scaled by whole factors and so shrink to runs; it is no
// general-purpose compressor, and it reads no PNG.
#pragma once

#include <cstdint>
#include <vector>

namespace velmorida::web {

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // rows top to bottom, 4 bytes a pixel, not premultiplied
};

// The bytes of a PNG file (8-bit RGBA, not interlaced) holding the image.
std::vector<std::uint8_t> EncodePng(const RgbaImage& image);

}  // namespace velmorida::web
