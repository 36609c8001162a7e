// PNG files from RGBA pixels, with no library: one deflate block of fixed
// codes and repeats of the byte before. Made for icons of pixel art scaled
// by whole factors, which shrink to runs; no general compressor, no reader.
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
