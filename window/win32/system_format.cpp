// The user's decimal separator on Windows: the regional settings' decimal
// symbol (Control Panel, Region, Additional settings).
#include <windows.h>

#include "window/system_separator.h"
#include "window/win32/utf16.h"

namespace velmorida {
namespace {

// LOCALE_SDECIMAL is at most three characters and the terminator.
constexpr int kSeparatorBuffer = 8;

}  // namespace

std::string SystemDecimalSeparator() {
  wchar_t separator[kSeparatorBuffer] = {};
  const int written =
      GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, kSeparatorBuffer);
  if (written <= 1) return ".";  // none set: the C locale's
  return win32::Narrow(std::wstring_view(separator, written - 1));
}

}  // namespace velmorida
