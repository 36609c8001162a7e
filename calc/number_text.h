// Conversions between the texts held by the boxes and doubles, with the
// user's decimal separator. Every passage between text and number goes through
// these five functions; they never consult the process's C locale.
// They do not know about units, boxes or the reactance.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmorida {

struct NumberFormat {
  std::string decimal = ".";  // the locale's decimal separator, UTF-8
};

// Optional blanks, an optional sign, digits with at most one separator (at
// least one digit), an optional exponent, optional blanks. A value beyond the
// double range is not a number.
bool IsNumericText(std::string_view text, const NumberFormat& format);

// IsNumericText and TextToNumber in one reading: the value of a numeric
// text, or nothing.
std::optional<double> ReadNumber(std::string_view text, const NumberFormat& format);

// The double nearest to a numeric text; a value too small for a double reads
// as zero or a subnormal. A text that is not numeric gives 0.
double TextToNumber(std::string_view text, const NumberFormat& format);

// 15 significant digits; plain form for decimal exponents -4 to 14, exponent
// form ("1E-05", "1.5E+20") otherwise. Zero is "0". A value that is not finite
// has no text that reads back, and is written as "0".
std::string NumberToText(double x, const NumberFormat& format);

// x rounded to n >= 0 decimals, an exact half going to the even neighbour. A value
// so large that x * 10^n leaves the double range has no decimals left and is
// returned unchanged.
double RoundToDecimals(double x, int n);

}  // namespace velmorida
