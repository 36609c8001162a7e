// The user's decimal separator on Linux: Qt's system locale, which follows
// LC_ALL, LC_NUMERIC or LANG.
#include <QLocale>

#include "window/calculator.h"

namespace velmorida {

NumberFormat SystemNumberFormat() {
  return NumberFormat{QLocale::system().decimalPoint().toStdString()};
}

}  // namespace velmorida
