// The two separators the core tables are run under, and a table's figure,
// written with ".", as a locale with another separator writes it.
#pragma once

#include <regex>
#include <string>

#include "calc/number_text.h"

namespace velmorida::testing {

inline const NumberFormat kDot{"."};
inline const NumberFormat kComma{","};

inline std::string InSeparator(const std::string& text, const NumberFormat& format) {
  static const std::regex point(R"(\.)");
  return std::regex_replace(text, point, format.decimal);
}

}  // namespace velmorida::testing
