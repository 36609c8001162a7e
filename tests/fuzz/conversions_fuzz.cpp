// libFuzzer target for the text/number conversions. The first byte picks the
// decimal separator; the rest is read as text, invalid UTF-8 and all. The
// leading eight bytes are also read as a double and written out and back.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "calc/form_state.h"
#include "calc/number_text.h"

namespace {

using velmorida::NumberFormat;

const NumberFormat kFormats[] = {NumberFormat{"."}, NumberFormat{","},
                                 NumberFormat{"\xD9\xAB"}};  // U+066B, two bytes
constexpr int kMostDecimals = 6;
constexpr double kFifteenDigits = 1e-14;  // relative error allowed after writing

void Require(bool condition) {
  if (!condition) std::abort();
}

// A text written for a finite value is numeric, reads back within fifteen
// significant digits, and writes again to the same text.
void CheckWrittenReadsBack(double value, const NumberFormat& format) {
  const std::string text = velmorida::NumberToText(value, format);
  Require(velmorida::IsNumericText(text, format));
  const double back = velmorida::TextToNumber(text, format);
  Require(std::abs(back - value) <= std::abs(value) * kFifteenDigits);  // false when not finite
  Require(velmorida::NumberToText(back, format) == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const NumberFormat& format = kFormats[data[0] % std::size(kFormats)];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  // Numeric texts read as finite values; the others read as 0.
  const bool numeric = velmorida::IsNumericText(text, format);
  const double value = velmorida::TextToNumber(text, format);
  Require(std::isfinite(value));
  if (numeric) {
    CheckWrittenReadsBack(value, format);
  } else {
    Require(value == 0);
  }

  // A cut to six characters never splits one and never grows.
  const std::string_view kept = velmorida::FirstChars(text, velmorida::FormState::kInputMaxChars);
  Require(kept.size() <= text.size() && text.substr(0, kept.size()) == kept);
  Require(kept.size() == text.size() ||
          (static_cast<unsigned char>(text[kept.size()]) & 0xC0) != 0x80);

  if (size >= 1 + sizeof(double)) {
    double raw = 0;
    std::memcpy(&raw, data + 1, sizeof raw);
    if (std::isfinite(raw)) {
      CheckWrittenReadsBack(raw, format);
      for (int decimals = 0; decimals <= kMostDecimals; ++decimals) {
        Require(std::isfinite(velmorida::RoundToDecimals(raw, decimals)));
      }
    }
  }
  return 0;
}
