// The PNG writer: scanline filters that turn runs and repeated rows into
// zeros, deflate, zlib's and PNG's framing with their checksums.
#include "window/web/site/png.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace velmorida::web {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kBitDepth = 8;
constexpr std::uint8_t kColourTypeRgba = 6;
constexpr std::size_t kBytesPerPixel = 4;
// A scanline's first byte names its filter. Sub stores each byte less the
// same byte of the pixel before, so a run of equal pixels becomes zeros;
// Up stores each byte less the one above, so a repeated row becomes zeros.
constexpr std::uint8_t kFilterSub = 1;
constexpr std::uint8_t kFilterUp = 2;

// zlib's header for deflate with a 32 KB window, no dictionary, level
// unstated; the pair is a multiple of 31 as the format requires.
constexpr std::uint8_t kZlibMethod = 0x78;
constexpr std::uint8_t kZlibFlags = 0x01;

// Deflate (RFC 1951): a last block compressed with the fixed codes.
constexpr unsigned kFinalBlock = 1;
constexpr unsigned kFixedCodes = 1;
constexpr unsigned kBlockTypeBits = 2;
constexpr unsigned kEndOfBlock = 256;
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;
// The length codes 257 to 285: the least length of each, and its extra bits
// (none for the first eight, then one more for every four, none for 258).
constexpr unsigned kFirstLengthCode = 257;
constexpr std::array<unsigned, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                  15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                  67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<unsigned, 29> kLengthExtraBits = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
// Every match here is a repeat of the byte just before: distance 1, which
// is distance code 0, five bits, no extra bits.
constexpr unsigned kDistanceOneCode = 0;
constexpr unsigned kDistanceCodeBits = 5;

constexpr std::uint32_t kAdlerModulus = 65521;
constexpr std::uint32_t kCrcPolynomial = 0xEDB88320;  // CRC-32, reflected

// Bits in deflate's order: values from the least significant bit, Huffman
// codes from the most significant.
class BitWriter {
 public:
  static constexpr unsigned kBitsPerByte = 8;

  void Value(unsigned value, unsigned bits) {
    for (unsigned i = 0; i < bits; ++i) Bit((value >> i) & 1U);
  }
  void Code(unsigned code, unsigned bits) {
    for (unsigned i = bits; i-- > 0;) Bit((code >> i) & 1U);
  }
  std::vector<std::uint8_t> Finish() {
    if (used_ != 0) bytes_.push_back(current_);
    used_ = 0;
    current_ = 0;
    return std::move(bytes_);
  }

 private:
  void Bit(unsigned bit) {
    current_ = static_cast<std::uint8_t>(current_ | (bit << used_));
    if (++used_ == kBitsPerByte) {
      bytes_.push_back(current_);
      used_ = 0;
      current_ = 0;
    }
  }
  std::vector<std::uint8_t> bytes_;
  std::uint8_t current_ = 0;
  unsigned used_ = 0;
};

// The fixed literal/length codes: four ranges of symbols, each numbered
// on from the code of its first symbol, with the code's length in bits.
struct FixedRange {
  unsigned firstSymbol;
  unsigned firstCode;
  unsigned bits;
};
constexpr std::array<FixedRange, 4> kFixedRanges = {{
    {0, 0x30, 8},     // literals 0 to 143
    {144, 0x190, 9},  // literals 144 to 255
    {256, 0x00, 7},   // end of block and lengths to 279
    {280, 0xC0, 8},   // lengths 280 to 287
}};

void FixedCode(BitWriter& out, unsigned symbol) {
  std::size_t range = kFixedRanges.size() - 1;
  while (kFixedRanges[range].firstSymbol > symbol) --range;
  const FixedRange& r = kFixedRanges[range];
  out.Code(r.firstCode + (symbol - r.firstSymbol), r.bits);
}

void RepeatPrevious(BitWriter& out, std::size_t length) {
  std::size_t code = kLengthBase.size() - 1;
  while (kLengthBase[code] > length) --code;
  FixedCode(out, kFirstLengthCode + static_cast<unsigned>(code));
  out.Value(static_cast<unsigned>(length - kLengthBase[code]), kLengthExtraBits[code]);
  out.Code(kDistanceOneCode, kDistanceCodeBits);
}

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data) {
  BitWriter out;
  out.Value(kFinalBlock, 1);
  out.Value(kFixedCodes, kBlockTypeBits);
  std::size_t at = 0;
  while (at < data.size()) {
    std::size_t run = 0;
    if (at > 0) {
      const std::size_t limit = std::min(kMaxMatch, data.size() - at);
      while (run < limit && data[at + run] == data[at - 1]) ++run;
    }
    if (run >= kMinMatch) {
      RepeatPrevious(out, run);
      at += run;
    } else {
      FixedCode(out, data[at]);
      ++at;
    }
  }
  FixedCode(out, kEndOfBlock);
  return out.Finish();
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& data) {
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % kAdlerModulus;
    b = (b + a) % kAdlerModulus;
  }
  return (b << 16) | a;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFU;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (unsigned bit = 0; bit < BitWriter::kBitsPerByte; ++bit)
      crc = (crc >> 1) ^ (kCrcPolynomial & (0U - (crc & 1U)));
  }
  return ~crc;
}

void PutBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// A chunk: its length, its type and data, and the CRC of both.
void PutChunk(std::vector<std::uint8_t>& out, std::string_view type,
              const std::vector<std::uint8_t>& data) {
  PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian32(out, Crc32(out.data() + typeAt, out.size() - typeAt));
}

// The scanlines, each with its filter byte: Up for a row equal to the one
// above, Sub otherwise.
std::vector<std::uint8_t> Scanlines(const RgbaImage& image) {
  const std::size_t stride = static_cast<std::size_t>(image.width) * kBytesPerPixel;
  std::vector<std::uint8_t> out;
  out.reserve((stride + 1) * static_cast<std::size_t>(image.height));
  for (std::size_t y = 0; y < static_cast<std::size_t>(image.height); ++y) {
    const std::uint8_t* row = image.rgba.data() + y * stride;
    if (y > 0 && std::equal(row, row + stride, row - stride)) {
      out.push_back(kFilterUp);
      out.insert(out.end(), stride, 0);
      continue;
    }
    out.push_back(kFilterSub);
    for (std::size_t i = 0; i < stride; ++i) {
      const std::uint8_t left = i >= kBytesPerPixel ? row[i - kBytesPerPixel] : 0;
      out.push_back(static_cast<std::uint8_t>(row[i] - left));
    }
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const RgbaImage& image) {
  std::vector<std::uint8_t> header;
  PutBigEndian32(header, static_cast<std::uint32_t>(image.width));
  PutBigEndian32(header, static_cast<std::uint32_t>(image.height));
  // Bit depth, colour type, then deflate, adaptive filtering, no interlace.
  header.insert(header.end(), {kBitDepth, kColourTypeRgba, 0, 0, 0});

  const std::vector<std::uint8_t> scanlines = Scanlines(image);
  std::vector<std::uint8_t> zlib = {kZlibMethod, kZlibFlags};
  const std::vector<std::uint8_t> deflated = Deflate(scanlines);
  zlib.insert(zlib.end(), deflated.begin(), deflated.end());
  PutBigEndian32(zlib, Adler32(scanlines));

  std::vector<std::uint8_t> png(kSignature.begin(), kSignature.end());
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", zlib);
  PutChunk(png, "IEND", {});
  return png;
}

}  // namespace velmorida::web
