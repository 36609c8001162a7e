// WCAG 2's relative luminance and contrast ratio of two colours, written out
// from the standard, so that the window's colours are measured by the
// standard's formula and not by numbers of their own.
#pragma once

#include <algorithm>
#include <cmath>

#include "window/layout.h"

namespace velmorida::testing {

// The least contrast WCAG 2 asks of ordinary text (level AA).
inline constexpr double kLeastContrastForText = 4.5;

inline double RelativeLuminance(layout::Rgb rgb) {
  const auto channel = [](std::uint8_t value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(rgb.red) + 0.7152 * channel(rgb.green) + 0.0722 * channel(rgb.blue);
}

inline double ContrastRatio(layout::Rgb a, layout::Rgb b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace velmorida::testing
