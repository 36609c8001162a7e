#include "calc/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/calc/in_separator.h"
#include "tests/support/bits.h"

namespace velmorida::testing {
namespace {

const NumberFormat kArabic{"\xD9\xAB"};  // U+066B ARABIC DECIMAL SEPARATOR
const NumberFormat kFormats[] = {kDot, kComma, kArabic};

struct NumberToTextRow {
  const char* name;
  double value;
  const char* text;
};

// 15 significant digits; plain form from 1E-04 to below 1E+15, exponent form
// outside it with at least two exponent digits; "0" for what is not finite.
const NumberToTextRow kNumberToText[] = {
    {"PlainWithFiveDecimals", 1592.35669, "1592.35669"},
    {"SmallestExponentForm", 0.00001, "1E-05"},
    {"FiveTimesTenToMinusFive", 0.00005, "5E-05"},
    {"FifteenDigitsRounded", 159235668789.80896, "159235668789.809"},
    {"IntegerNoSeparator", 1000, "1000"},
    {"TenToFifteenIsExponentForm", 1e15, "1E+15"},
    {"FractionalExponentForm", 1.5e20, "1.5E+20"},
    {"LongMantissaExponentForm", 1.23456789012346e20, "1.23456789012346E+20"},
    {"SmallestPlain", 0.0001, "0.0001"},
    {"LeadingZero", 0.5, "0.5"},
    {"Zero", 0.0, "0"},
    {"NegativeZero", -0.0, "0"},
    {"Negative", -5, "-5"},
    {"LargestPlain", 999999999999999.0, "999999999999999"},
    {"RoundsUpToExponentForm", 9999999999999999.0, "1E+16"},
    {"ThreeDigitExponent", 1e-300, "1E-300"},
    {"SmallestSubnormal", 4.9406564584124654e-324, "4.94065645841247E-324"},
    {"LargestDoubleStaysInRange", std::numeric_limits<double>::max(), "1.79769313486231E+308"},
    {"FifteenDigitsKeepsLastDigit", 0.15924, "0.15924"},
    {"InfinityIsZero", std::numeric_limits<double>::infinity(), "0"},
    {"NotANumberIsZero", std::numeric_limits<double>::quiet_NaN(), "0"},
};

TEST(NumberToText, WritesFifteenSignificantDigitsInPlainOrExponentForm) {
  for (const NumberFormat& format : kFormats) {
    for (const auto& row : kNumberToText) {
      EXPECT_EQ(NumberToText(row.value, format), InSeparator(row.text, format))
          << row.name << " with separator " << format.decimal;
    }
  }
}

struct ReadRow {
  const char* name;
  const char* text;  // in "." notation; rewritten for other separators
  bool numeric;
  double value;  // when numeric
};

// Blanks, a sign, digits with at most one separator and at least one digit,
// an optional exponent, blanks; nothing else. Beyond the largest double is not
// a number; below the smallest reads as the nearest double, zero or subnormal.
const ReadRow kReadable[] = {
    {"LeadingBlank", " 7", true, 7},
    {"TrailingBlanks", "7  ", true, 7},
    {"TabsAround", "\t7\t", true, 7},
    {"Exponent", "1e3", true, 1000},
    {"CapitalExponentWithSign", "1E+3", true, 1000},
    {"NegativeExponent", "15e-1", true, 1.5},
    {"PlusSign", "+2", true, 2},
    {"MinusSign", "-2", true, -2},
    {"MinusZero", "-0", true, -0.0},
    {"SeparatorFirst", ".5", true, 0.5},
    {"SeparatorLast", "5.", true, 5},
    {"Fraction", "0.47", true, 0.47},
    {"LeadingZeros", "007", true, 7},
    {"SignedFraction", "-.5e1", true, -5},
    {"BlankThenSign", "  -3", true, -3},
    {"Empty", "", false, 0},
    {"BlanksOnly", "   ", false, 0},
    {"LoneMinus", "-", false, 0},
    {"LonePlus", "+", false, 0},
    {"LoneSeparator", ".", false, 0},
    {"Letters", "abc", false, 0},
    {"TwoSeparators", "1.2.3", false, 0},
    {"ExponentWithoutDigits", "1e", false, 0},
    {"ExponentSignOnly", "1e+", false, 0},
    {"ExponentAlone", "e5", false, 0},
    {"BlankAfterSign", "- 5", false, 0},
    {"BlankInsideDigits", "1 2", false, 0},
    {"TwoSigns", "+-1", false, 0},
    {"TrailingSign", "5-", false, 0},
    {"Parentheses", "(5)", false, 0},
    {"Hexadecimal", "0x1A", false, 0},
    {"DExponent", "1D3", false, 0},
    {"Infinity", "inf", false, 0},
    {"NotANumber", "NaN", false, 0},
    {"Currency", "$5", false, 0},
    {"NoBreakSpace",
     "\xC2\xA0"
     "5",
     false, 0},
    {"FullWidthDigit", "\xEF\xBC\x95", false, 0},
    {"Newline", "5\n", false, 0},
    {"SeparatorInExponent", "1e1.5", false, 0},
    {"Overflow", "1e309", false, 0},
    {"NegativeOverflow", "-1e309", false, 0},
    {"HugeExponent", "1e99999999999999999999", false, 0},
    {"LargestWrittenDouble", "1.79769313486231E+308", true, 1.79769313486231e308},
    {"UnderflowToZero", "1e-400", true, 0},
    {"NegativeUnderflowToZero", "-1e-400", true, -0.0},
    {"HugeNegativeExponent", "5e-99999999999999999999", true, 0},
    {"Subnormal", "1e-310", true, 1e-310},
    {"SmallestSubnormal", "5e-324", true, 4.9406564584124654e-324},
    {"ZeroWithHugeExponent", "0e99999", true, 0},
    {"ManyLeadingZerosThenOverflow", "0.0001e313", false, 0},
    {"ManyLeadingFractionZerosInRange", "0.0001e311", true, 1e307},
};

TEST(ReadNumber, AcceptsExactlyTheNumericFormsInTheDoubleRange) {
  for (const NumberFormat& format : kFormats) {
    for (const auto& row : kReadable) {
      const std::string text = InSeparator(row.text, format);
      EXPECT_EQ(IsNumericText(text, format), row.numeric) << row.name << " '" << text << "'";
      if (row.numeric) {
        const double value = TextToNumber(text, format);
        EXPECT_EQ(value, row.value) << row.name;
        EXPECT_EQ(std::signbit(value), std::signbit(row.value)) << row.name;
      }
    }
  }
}

// Another locale's separator is a foreign character, not a digit group, and
// a separator of two bytes is one only whole.
TEST(ReadNumber, OnlyTheUsersSeparatorSeparates) {
  EXPECT_FALSE(IsNumericText("0.47", kComma));
  EXPECT_FALSE(IsNumericText("0,47", kDot));
  EXPECT_FALSE(IsNumericText("1,000.5", kDot));
  EXPECT_FALSE(IsNumericText("1.5", kArabic));
  EXPECT_FALSE(
      IsNumericText("1\xD9"
                    "5",
                    kArabic));
}

struct RoundRow {
  const char* name;
  double value;
  int decimals;
  double rounded;
};

// Nearest, and an exact half goes to the even neighbour.
const RoundRow kRounding[] = {
    {"FiveDecimals", 1592.356687898089, 5, 1592.35669},
    {"ThreeDecimals", 1.59235669, 3, 1.592},
    {"RoundsUpToFirstDigit", 0.000009999738, 5, 0.00001},
    {"HalfToEvenDown", 2.5, 0, 2},
    {"HalfToEvenUp", 3.5, 0, 4},
    {"NegativeHalfToEven", -2.5, 0, -2},
    {"HalfAtThirdDecimalDown", 0.0625, 3, 0.062},
    {"HalfAtThirdDecimalUp", 0.1875, 3, 0.188},
    {"BelowHalfOfLastDecimal", 0.000004999, 5, 0},
    {"AlreadyInteger", 1234, 3, 1234},
    {"TooLargeToScaleIsUnchanged", 1e305, 5, 1e305},
};

TEST(RoundToDecimals, NearestWithExactHalvesToEven) {
  for (const auto& row : kRounding) {
    EXPECT_EQ(RoundToDecimals(row.value, row.decimals), row.rounded) << row.name;
  }
}

// The significant digits (no zeros around them) and decimal exponent of a
// number's text in plain or exponent form: "1592.35669" is "159235669e3".
std::string DigitsAndExponent(const std::string& text) {
  const std::size_t mark = text.find_first_of("eE");
  std::string digits;
  int pointAt = -1;
  for (char c : text.substr(0, mark)) {
    if (c == '.') pointAt = static_cast<int>(digits.size());
    if (c >= '0' && c <= '9') digits += c;
  }
  if (pointAt < 0) pointAt = static_cast<int>(digits.size());
  const int written = mark == std::string::npos ? 0 : std::stoi(text.substr(mark + 1));
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return "0";
  digits.erase(digits.find_last_not_of('0') + 1);
  const int exponent = written + pointAt - 1 - static_cast<int>(first);
  return digits.substr(first) + "e" + std::to_string(exponent);
}

// The C library's own rounding of x to 15 significant digits, "%.14e": exact,
// ties to even, and no code of ours.
std::string FifteenDigitsByPrintf(double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", x);
  return DigitsAndExponent(buffer);
}

// Every text written is exactly the 15-digit rounding of the value, reads
// back as a number to within that rounding, and writes again to the same text,
// under both separators. Random bit patterns cover every exponent; numbers of
// 15 digits and their neighbours are those where the fifteenth digit is
// decided by the last bits; subnormals have fewer digits of precision.
TEST(NumberToText, EveryTextIsTheFifteenDigitRoundingAndReadsBack) {
  std::mt19937_64 random(8122026);
  std::vector<double> values;
  for (int i = 0; i < 100000; ++i) values.push_back(DoubleFromBits(random()));
  std::uniform_int_distribution<std::int64_t> fifteenDigits(1, 999999999999999);
  std::uniform_int_distribution<int> exponents(-320, 300);
  for (int i = 0; i < 50000; ++i) {
    const std::string text =
        std::to_string(fifteenDigits(random)) + "e" + std::to_string(exponents(random));
    const double x = std::strtod(text.c_str(), nullptr);
    values.push_back(x);
    values.push_back(std::nextafter(x, 0.0));
    values.push_back(std::nextafter(x, std::numeric_limits<double>::infinity()));
  }
  for (int i = 0; i < 10000; ++i) {
    values.push_back(DoubleFromBits(random() & ((std::uint64_t{1} << 52) - 1)));
  }
  std::size_t compared = 0;
  for (double x : values) {
    if (!std::isfinite(x)) continue;
    for (const NumberFormat& format : {kDot, kComma}) {
      const std::string text = NumberToText(x, format);
      ASSERT_TRUE(IsNumericText(text, format)) << text;
      const double back = TextToNumber(text, format);
      ASSERT_EQ(NumberToText(back, format), text) << "value " << x;
      ASSERT_LE(std::abs(back - x), std::abs(x) * 1e-14) << text;
    }
    // Near the largest double, this rounding would leave the double range;
    // those few are written with other digits on purpose (LargestDoubleStaysInRange).
    const std::string expected = FifteenDigitsByPrintf(x);
    if (expected == "179769313486232e308") continue;
    ASSERT_EQ(DigitsAndExponent(NumberToText(x, kDot)), expected)
        << std::hexfloat << x << " written " << NumberToText(x, kDot);
    ++compared;
  }
  EXPECT_GT(compared, 250000U);
}

}  // namespace
}  // namespace velmorida::testing
