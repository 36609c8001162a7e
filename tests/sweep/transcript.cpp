// Writes what the core makes of a slice of the input sweep and of random
// doubles, as digests of every result, so that two builds of the core (the
// native one and the browser's WebAssembly) can be compared line by line.
// It checks nothing itself; "list" writes every result instead of digests.
//
//   transcript [list]
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

#include "calc/form_state.h"
#include "calc/number_text.h"
#include "tests/support/bits.h"
#include "window/handlers.h"

namespace {

using velmorida::FormState;
using velmorida::Handlers;
using velmorida::InputBox;
using velmorida::NumberFormat;

constexpr std::string_view kAlphabet = "0159.,e- ";
// Five characters: 66 thousand texts a box, a few seconds under Node.
constexpr std::size_t kLongestText = 5;
constexpr int kRandomDoubles = 200000;
constexpr std::uint64_t kSeed = 20260;

struct Context {
  const char* other;
  const char* capacitanceUnit;
  const char* frequencyUnit;
};

constexpr std::array<Context, 3> kContexts = {{
    {"1", "pF", "Hz"},
    {"470", "uF", "MHz"},
    {"1e-300", "pF", "Hz"},
}};

// FNV-1a over every result, or the results themselves.
class Output {
 public:
  explicit Output(bool list) : list_(list) {}

  void Add(std::string_view line) {
    ++count_;
    if (list_) {
      std::printf("%.*s\n", static_cast<int>(line.size()), line.data());
      return;
    }
    for (char c : line) Mix(static_cast<unsigned char>(c));
    Mix('\n');
  }

  void Close(const std::string& group) {
    std::printf("%s: %ld results, digest %016llx\n", group.c_str(), count_,
                static_cast<unsigned long long>(digest_));
    count_ = 0;
    digest_ = kOffset;
  }

 private:
  static constexpr std::uint64_t kOffset = 14695981039346656037ull;
  static constexpr std::uint64_t kPrime = 1099511628211ull;
  void Mix(unsigned char c) { digest_ = (digest_ ^ c) * kPrime; }

  bool list_;
  long count_ = 0;
  std::uint64_t digest_ = kOffset;
};

void TypeEveryText(InputBox box, const Context& context, const NumberFormat& format, Output& out) {
  FormState state;
  Handlers handlers(state, format, [] { return true; });
  handlers.Form_Load();
  state.SetText(box == InputBox::Capacitance ? InputBox::Frequency : InputBox::Capacitance,
                context.other);
  state.cboC = context.capacitanceUnit;
  state.cboFreq = context.frequencyUnit;
  handlers.cboC_Click();

  std::string text;
  std::array<std::size_t, kLongestText> digits{};
  for (std::size_t length = 1; length <= kLongestText; ++length) {
    digits.fill(0);
    text.assign(length, ' ');
    for (bool more = true; more;) {
      for (std::size_t i = 0; i < length; ++i) text[i] = kAlphabet[digits[i]];
      state.SetText(box, text);
      out.Add(text + '\t' + state.Text(box) + '\t' + state.txtR + '\t' + state.lblUM +
              (state.txtRVisible ? "" : "\thidden"));
      std::size_t i = length;
      while (i-- > 0) {
        if (++digits[i] < kAlphabet.size()) break;
        digits[i] = 0;
      }
      more = i < length;
    }
  }
}

// Any bit pattern: every exponent, subnormals, infinities and NaNs included.
void WriteAndReadRandomDoubles(const NumberFormat& format, Output& out) {
  std::mt19937_64 bits(kSeed);
  for (int i = 0; i < kRandomDoubles; ++i) {
    const double x = velmorida::testing::DoubleFromBits(bits());
    const std::string text = velmorida::NumberToText(x, format);
    const double back = velmorida::TextToNumber(text, format);
    char line[64];
    std::snprintf(line, sizeof line, "%016llx ",
                  static_cast<unsigned long long>(velmorida::testing::BitsOf(back)));
    out.Add(line + text);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Output out(argc > 1 && std::strcmp(argv[1], "list") == 0);
  for (const NumberFormat& format : {NumberFormat{"."}, NumberFormat{","}}) {
    for (InputBox box : {InputBox::Capacitance, InputBox::Frequency}) {
      for (std::size_t c = 0; c < kContexts.size(); ++c) {
        TypeEveryText(box, kContexts[c], format, out);
        out.Close("typed into box " + std::to_string(static_cast<int>(box)) + ", context " +
                  std::to_string(c) + ", separator " + format.decimal);
      }
    }
    WriteAndReadRandomDoubles(format, out);
    out.Close("random doubles written and read, separator " + format.decimal);
  }
  return 0;
}
