// Test helper: a double from its 64 bits and back, with memcpy, for the
// standard libraries that have no std::bit_cast (the libc++ of Debian's
// emscripten).
#pragma once

#include <cstdint>
#include <cstring>

namespace velmorida::testing {

inline double DoubleFromBits(std::uint64_t bits) {
  double x;
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

inline std::uint64_t BitsOf(double x) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

}  // namespace velmorida::testing
