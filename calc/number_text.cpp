#include "calc/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

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
constexpr int kExponentMinDigits = 2;
constexpr std::size_t kExponentMaxDigits = 4;  // 324 at most
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

// The text rewritten for from_chars. It is never longer than the text it
// comes from, and a short one stays on the stack: every keystroke reads
// several numbers.
class CanonicalText {
 public:
  explicit CanonicalText(std::size_t capacity) {
    if (capacity > sizeof local_) {
      heap_.resize(capacity);
      data_ = heap_.data();
    }
  }
  CanonicalText(const CanonicalText&) = delete;
  CanonicalText& operator=(const CanonicalText&) = delete;

  void Append(char c) { data_[size_++] = c; }
  const char* begin() const { return data_; }
  const char* end() const { return data_ + size_; }

 private:
  static constexpr std::size_t kLocalChars = 64;
  char local_[kLocalChars];
  std::string heap_;
  char* data_ = local_;
  std::size_t size_ = 0;
};

// Checks the grammar and rewrites the text as "-ddd.dddEsnn" for from_chars.
// Along the way it works out the decimal exponent of the first non-zero digit,
// which tells an overflow from an underflow when from_chars reports neither.
Scan ScanNumber(std::string_view text, std::string_view separator) {
  std::size_t i = 0;
  const std::size_t size = text.size();
  while (i < size && IsBlank(text[i])) ++i;

  CanonicalText canonical(size);
  bool negative = false;
  if (i < size && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    if (negative) canonical.Append('-');
    ++i;
  }

  int digits = 0;
  bool seenSeparator = false;
  bool seenNonZero = false;
  long leadExponent = 0;  // decimal exponent of the first non-zero digit
  long integerDigitsAfterLead = 0;
  long fractionZerosBeforeLead = 0;
  while (i < size) {
    const char c = text[i];
    if (IsDigit(c)) {
      ++digits;
      canonical.Append(c);
      if (!seenSeparator && (seenNonZero || c != '0')) {
        seenNonZero = true;
        if (integerDigitsAfterLead < kExponentCap) ++integerDigitsAfterLead;
      } else if (seenSeparator && !seenNonZero) {
        if (c == '0') {
          if (fractionZerosBeforeLead < kExponentCap) ++fractionZerosBeforeLead;
        } else {
          seenNonZero = true;
        }
      }
      ++i;
    } else if (!seenSeparator && text.substr(i).starts_with(separator)) {
      seenSeparator = true;
      canonical.Append(kCanonicalSeparator);
      i += separator.size();
    } else {
      break;
    }
  }
  if (digits == 0) return {};
  leadExponent =
      integerDigitsAfterLead > 0 ? integerDigitsAfterLead - 1 : -(fractionZerosBeforeLead + 1);

  if (i < size && (text[i] == 'e' || text[i] == 'E')) {
    canonical.Append('e');
    ++i;
    bool negativeExponent = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      canonical.Append(text[i]);
      ++i;
    }
    long exponent = 0;
    int exponentDigits = 0;
    while (i < size && IsDigit(text[i])) {
      canonical.Append(text[i]);
      exponent = std::min(kExponentCap, exponent * 10 + (text[i] - '0'));
      ++exponentDigits;
      ++i;
    }
    if (exponentDigits == 0) return {};
    leadExponent += negativeExponent ? -exponent : exponent;
  }

  while (i < size && IsBlank(text[i])) ++i;
  if (i != size) return {};

  double value = 0;
  const auto [end, error] = std::from_chars(canonical.begin(), canonical.end(), value);
  if (error == std::errc::result_out_of_range) {
    if (leadExponent < 0) return {Reading::Value, negative ? -0.0 : 0.0};
    return {Reading::OutOfRange, 0};
  }
  if (error != std::errc() || end != canonical.end()) return {};
  return {Reading::Value, value};
}

void AppendExponent(std::string& out, int exponent) {
  out += 'E';
  out += exponent < 0 ? '-' : '+';
  char digits[kExponentMaxDigits];
  const char* end = std::to_chars(digits, digits + sizeof digits, std::abs(exponent)).ptr;
  const auto count = static_cast<std::size_t>(end - digits);
  if (count < static_cast<std::size_t>(kExponentMinDigits)) {
    out.append(kExponentMinDigits - count, '0');
  }
  out.append(digits, count);
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

bool IsNumericText(std::string_view text, const NumberFormat& format) {
  return ScanNumber(text, SeparatorOf(format)).reading == Reading::Value;
}

double TextToNumber(std::string_view text, const NumberFormat& format) {
  return ScanNumber(text, SeparatorOf(format)).value;
}

std::string NumberToText(double x, const NumberFormat& format) {
  if (x == 0 || !std::isfinite(x)) return "0";

  // Scientific form with 14 decimals is the value rounded to 15 significant
  // digits, ties broken to even on the exact binary value: "-d.ddde+XX".
  char written[kWrittenChars];
  const char* const writtenEnd =
      std::to_chars(written, written + sizeof written, x, std::chars_format::scientific,
                    kSignificantDigits - 1)
          .ptr;
  const bool negative = written[0] == '-';
  const char* at = written + (negative ? 1 : 0);

  char digits[kSignificantDigits];
  std::size_t digitCount = 0;
  for (; *at != 'e'; ++at) {
    if (IsDigit(*at)) digits[digitCount++] = *at;
  }
  ++at;  // past 'e'
  if (*at == '+') ++at;
  int exponent = 0;
  std::from_chars(at, writtenEnd, exponent);

  if (exponent == kLargestDecimalExponent &&
      std::string_view(digits, digitCount) > kLargestWritableDigits) {
    std::copy(kLargestWritableDigits.begin(), kLargestWritableDigits.end(), digits);
  }
  while (digitCount > 1 && digits[digitCount - 1] == '0') --digitCount;
  const std::string_view significant(digits, digitCount);

  const std::string_view separator = SeparatorOf(format);
  std::string out;
  out.reserve(kWrittenChars + separator.size());
  if (negative) out += '-';

  if (exponent < kSmallestPlainExponent || exponent > kLargestPlainExponent) {
    out += significant.front();
    if (significant.size() > 1) {
      out += separator;
      out += significant.substr(1);
    }
    AppendExponent(out, exponent);
    return out;
  }

  if (exponent < 0) {
    out += '0';
    out += separator;
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += significant;
    return out;
  }
  const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
  if (significant.size() <= integerDigits) {
    out += significant;
    out.append(integerDigits - significant.size(), '0');
    return out;
  }
  out += significant.substr(0, integerDigits);
  out += separator;
  out += significant.substr(integerDigits);
  return out;
}

double RoundToDecimals(double x, int n) {
  const double scale = PowerOfTen(n < 0 ? -n : n);
  const double scaled = n >= 0 ? x * scale : x / scale;
  if (!std::isfinite(scaled)) return x;
  const double rounded = RoundHalfToEven(scaled);
  return n >= 0 ? rounded / scale : rounded * scale;
}

}  // namespace velmorida
