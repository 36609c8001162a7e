// The user's decimal separator, as the platform's settings give it. One
// declaration, one definition per desktop presentation: Qt's system locale on
// Linux, the regional settings on Windows. The page asks the browser itself.
#pragma once

#include <string>

namespace velmorida {

std::string SystemDecimalSeparator();

}  // namespace velmorida
