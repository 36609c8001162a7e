// The user's decimal separator on Linux: Qt's system locale, which follows
// LC_ALL, LC_NUMERIC or LANG.
#include <QLocale>

#include "window/system_separator.h"

namespace velmorida {

std::string SystemDecimalSeparator() {
  return QLocale::system().decimalPoint().toStdString();
}

}  // namespace velmorida
