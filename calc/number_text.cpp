#include "calc/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

// Floating-point to_chars and from_chars where the library has them; the C
// conversions otherwise (the libc++ of Debian's emscripten has only the
// integer ones). VELMORIDA_C_CONVERSIONS takes the C road anywhere, so that
// both are tested on one machine.
#if defined(__cpp_lib_to_chars) && !defined(VELMORIDA_C_CONVERSIONS)
#define VELMORIDA_STD_CONVERSIONS 1
#else
#define VELMORIDA_STD_CONVERSIONS 0
#include <clocale>
#include <cstdio>
#include <cstdlib>
#endif

namespace velmorida {
namespace {

constexpr int kSignificantDigits = 15;
constexpr char kCanonicalSeparator = '.';
// A larger exponent cannot change whether a value overflows or underflows,
// so reading stops growing it there.
constexpr long kExponentCap = 100000;
// Rounded to 15 digits, the few doubles just below the largest one would be
// written as 1.79769313486232E+308, which lies beyond the double range and
// could not be read back. They are written with these digits instead.
constexpr std::string_view kLargestWritableDigits = "179769313486231";
constexpr int kLargestDecimalExponent = 308;
// Exponent form is used below 1E-04 and from 1E+15 on.
constexpr int kSmallestPlainExponent = -4;
constexpr int kLargestPlainExponent = 14;
constexpr std::size_t kExponentMinDigits = 2;
// "-d.ddddddddddddddde-XXX" and its terminator fit with room to spare.
constexpr std::size_t kWrittenChars = 32;

constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
constexpr bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view SeparatorOf(const NumberFormat& format) {
  return format.decimal.empty() ? std::string_view(".") : std::string_view(format.decimal);
}

enum class Reading { NotNumeric, Value, OutOfRange };

struct Scan {
  Reading reading = Reading::NotNumeric;
  double value = 0;
};

struct Conversion {
  double value = 0;
  std::errc error{};
  bool whole = false;  // the whole text was read
};

#if VELMORIDA_STD_CONVERSIONS

// The double nearest to "-ddd.dddEsnn", or out of range.
Conversion ReadCanonical(const std::string& canonical) {
  Conversion conversion;
  const char* const last = canonical.data() + canonical.size();
  const auto [end, error] = std::from_chars(canonical.data(), last, conversion.value);
  conversion.error = error;
  conversion.whole = end == last;
  return conversion;
}

// x in scientific form ("-d.ddde+XX") rounded to 15 significant digits, ties
// broken to even on the exact binary value.
char* WriteFifteenDigits(double x, char* begin, char* end) {
  return std::to_chars(begin, end, x, std::chars_format::scientific, kSignificantDigits - 1).ptr;
}

#else

// strtod reads the C locale's decimal point, which a program may have set to
// its user's; the canonical text's "." is written as that point before reading.
std::string InCLocale(const std::string& canonical) {
  const char* const point = std::localeconv()->decimal_point;
  const std::string_view localPoint = point != nullptr && *point != '\0' ? point : ".";
  if (localPoint == std::string_view(&kCanonicalSeparator, 1)) return canonical;
  std::string local;
  local.reserve(canonical.size() + localPoint.size());
  for (char c : canonical) {
    if (c == kCanonicalSeparator) {
      local += localPoint;
    } else {
      local += c;
    }
  }
  return local;
}

// strtod rounds correctly; an overflow gives an infinity, the one result out
// of range (an underflow gives zero or a subnormal, as it should).
Conversion ReadCanonical(const std::string& canonical) {
  const std::string local = InCLocale(canonical);
  Conversion conversion;
  char* end = nullptr;
  conversion.value = std::strtod(local.c_str(), &end);
  if (std::isinf(conversion.value)) conversion.error = std::errc::result_out_of_range;
  conversion.whole = end == local.c_str() + local.size();
  return conversion;
}

// printf's "%.*e" rounds the exact binary value to 15 significant digits, ties
// to even, as to_chars does; only digits, the sign and the exponent are read
// from it afterwards, so the locale's decimal point does not matter.
char* WriteFifteenDigits(double x, char* begin, char* end) {
  const int written = std::snprintf(begin, static_cast<std::size_t>(end - begin), "%.*e",
                                    kSignificantDigits - 1, x);
  return begin + std::clamp(written, 0, static_cast<int>(end - begin) - 1);
}

#endif

// Checks the grammar and rewrites the text as "-ddd.dddEsnn" for from_chars.
// Along the way it works out the decimal exponent of the first non-zero digit,
// which tells an overflow from an underflow when from_chars reports neither.
Scan ScanNumber(std::string_view text, std::string_view separator) {
  std::size_t i = 0;
  const std::size_t size = text.size();
  while (i < size && IsBlank(text[i])) ++i;

  std::string canonical;  // never longer than the text
  canonical.reserve(size);
  bool negative = false;
  if (i < size && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    if (negative) canonical.push_back('-');
    ++i;
  }

  // Digits are counted by position; the first non-zero one and the
  // separator's place give the decimal exponent after the loop.
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t digits = 0;
  std::size_t integerDigits = kNone;  // digits before the separator, once seen
  std::size_t firstNonZero = kNone;
  while (i < size) {
    const char c = text[i];
    if (IsDigit(c)) {
      if (c != '0' && firstNonZero == kNone) firstNonZero = digits;
      ++digits;
      canonical.push_back(c);
      ++i;
    } else if (integerDigits == kNone && text.substr(i).starts_with(separator)) {
      integerDigits = digits;
      canonical.push_back(kCanonicalSeparator);
      i += separator.size();
    } else {
      break;
    }
  }
  if (digits == 0) return {};
  if (integerDigits == kNone) integerDigits = digits;
  // Decimal exponent of the first non-zero digit (a zero value has none, and
  // never leaves the range).
  long leadExponent = 0;
  if (firstNonZero != kNone) {
    leadExponent = firstNonZero < integerDigits
                       ? static_cast<long>(
                             std::min<std::size_t>(integerDigits - firstNonZero - 1, kExponentCap))
                       : -static_cast<long>(
                             std::min<std::size_t>(firstNonZero - integerDigits + 1, kExponentCap));
  }

  if (i < size && (text[i] == 'e' || text[i] == 'E')) {
    canonical.push_back('e');
    ++i;
    bool negativeExponent = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      canonical.push_back(text[i]);
      ++i;
    }
    long exponent = 0;
    int exponentDigits = 0;
    while (i < size && IsDigit(text[i])) {
      canonical.push_back(text[i]);
      exponent = std::min(kExponentCap, exponent * 10 + (text[i] - '0'));
      ++exponentDigits;
      ++i;
    }
    if (exponentDigits == 0) return {};
    leadExponent += negativeExponent ? -exponent : exponent;
  }

  while (i < size && IsBlank(text[i])) ++i;
  if (i != size) return {};

  const Conversion conversion = ReadCanonical(canonical);
  if (conversion.error == std::errc::result_out_of_range) {
    if (leadExponent < 0) return {Reading::Value, negative ? -0.0 : 0.0};
    return {Reading::OutOfRange, 0};
  }
  if (conversion.error != std::errc() || !conversion.whole) return {};
  return {Reading::Value, conversion.value};
}

// "E", the sign, and at least two digits.
void AppendExponent(std::string& out, int exponent) {
  out += 'E';
  out += exponent < 0 ? '-' : '+';
  const std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
  if (digits.size() < kExponentMinDigits) out.append(kExponentMinDigits - digits.size(), '0');
  out += digits;
}

double PowerOfTen(int n) {
  double power = 1;  // exact up to 10^22, far beyond the 5 decimals in use
  for (int i = 0; i < n; ++i) power *= 10;
  return power;
}

double RoundHalfToEven(double y) {
  const double below = std::floor(y);
  const double fraction = y - below;  // exact for every double
  if (fraction > 0.5) return below + 1;
  if (fraction < 0.5) return below;
  return std::fmod(below, 2) == 0 ? below : below + 1;
}

}  // namespace

std::optional<double> ReadNumber(std::string_view text, const NumberFormat& format) {
  const Scan scan = ScanNumber(text, SeparatorOf(format));
  if (scan.reading != Reading::Value) return std::nullopt;
  return scan.value;
}

bool IsNumericText(std::string_view text, const NumberFormat& format) {
  return ScanNumber(text, SeparatorOf(format)).reading == Reading::Value;
}

double TextToNumber(std::string_view text, const NumberFormat& format) {
  return ScanNumber(text, SeparatorOf(format)).value;
}

std::string NumberToText(double x, const NumberFormat& format) {
  if (x == 0 || !std::isfinite(x)) return "0";

  char written[kWrittenChars];
  const char* const writtenEnd = WriteFifteenDigits(x, written, written + sizeof written);
  const std::string_view scientific(written, static_cast<std::size_t>(writtenEnd - written));
  const bool negative = scientific.front() == '-';
  const std::size_t exponentMark = scientific.find('e');

  std::string digits;
  digits.reserve(kSignificantDigits);
  for (char c : scientific.substr(0, exponentMark)) {
    if (IsDigit(c)) digits += c;
  }
  const char* exponentText = written + exponentMark + 1;
  if (*exponentText == '+') ++exponentText;
  int exponent = 0;
  std::from_chars(exponentText, writtenEnd, exponent);

  if (exponent == kLargestDecimalExponent && digits > kLargestWritableDigits) {
    digits = kLargestWritableDigits;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  const std::string_view separator = SeparatorOf(format);
  std::string out;
  out.reserve(kWrittenChars + separator.size());
  if (negative) out += '-';

  if (exponent < kSmallestPlainExponent || exponent > kLargestPlainExponent) {
    out += digits.front();
    if (digits.size() > 1) {
      out += separator;
      out.append(digits, 1);
    }
    AppendExponent(out, exponent);
    return out;
  }
  if (exponent < 0) {
    out += '0';
    out += separator;
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
    return out;
  }
  const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= integerDigits) {
    out += digits;
    out.append(integerDigits - digits.size(), '0');
    return out;
  }
  out.append(digits, 0, integerDigits);
  out += separator;
  out.append(digits, integerDigits);
  return out;
}

double RoundToDecimals(double x, int n) {
  const double scale = PowerOfTen(n);
  const double scaled = x * scale;
  if (!std::isfinite(scaled)) return x;
  return RoundHalfToEven(scaled) / scale;
}

}  // namespace velmorida
