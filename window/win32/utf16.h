// UTF-8, the core's encoding, to and from UTF-16, the Windows API's, at the
// boundary between the two. An invalid sequence becomes U+FFFD either way.
#pragma once

#include <string>
#include <string_view>

namespace velmorida::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace velmorida::win32
