// A text as a JSON string, for what the web edition writes in JSON: the
// page interface's answers and the site's manifest. Quotes, backslashes and
// control characters are escaped; every other byte, UTF-8 included, stays.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace velmorida::web {

inline std::string JsonText(std::string_view text) {
  constexpr unsigned char kFirstPrintable = 0x20;
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < kFirstPrintable) {
      char escaped[sizeof "\\u0000"];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(byte));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out += '"';
}

}  // namespace velmorida::web
