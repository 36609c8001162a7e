// Test helper: a table's "."-separated text written with another separator.
#pragma once

#include <string>

#include "calc/number_text.h"

namespace velmorida::testing {

inline std::string InSeparator(const std::string& text, const NumberFormat& format) {
  std::string out;
  for (char c : text) {
    if (c == '.') {
      out += format.decimal;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace velmorida::testing
