// Feeds every text of up to six characters over a small alphabet into each
// input box, through the real handlers, a thread per core, and checks the
// invariants after each event. Its transcript mode checks nothing: it writes
// digests of what the core makes of a slice of the texts and of random doubles,
// for the native and the WebAssembly builds to be compared ("list": each result).
//
//   sweep full|reduced|transcript [list]
//   full:       0-9 . , e E + - and blank (17 characters, about 25.6 million texts)
//   reduced:    0 1 5 9 . , e - and blank (9 characters, about 600 thousand texts)
//   transcript: the reduced alphabet up to five characters, in one thread
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/support/bits.h"
#include "tests/support/invariants.h"

namespace velmorida::testing {
namespace {

constexpr std::string_view kFullAlphabet = "0123456789.,eE+- ";
constexpr std::string_view kReducedAlphabet = "0159.,e- ";
constexpr std::size_t kLongestText = FormState::kInputMaxChars;
// Five characters: 66 thousand texts a box, a few seconds under Node.
constexpr std::size_t kLongestTranscribedText = 5;
constexpr int kRandomDoubles = 200000;
constexpr std::uint64_t kSeed = 20260;

// The other box and the units stay at one of these while a box is swept.
struct Context {
  const char* other;
  const char* capacitanceUnit;
  const char* frequencyUnit;
};
constexpr std::array<Context, 3> kContexts = {{
    {"1", "pF", "Hz"},       // large reactances, up to MOhm
    {"470", "uF", "MHz"},    // tiny ones, rounding to zero
    {"1e-300", "pF", "Hz"},  // the edge of the double range
}};

// A started form whose other box and units are the context's.
struct Form {
  Form(InputBox box, const Context& context, const NumberFormat& format)
      : handlers(state, format, [] { return true; }) {
    handlers.Form_Load();
    state.SetText(box == InputBox::Capacitance ? InputBox::Frequency : InputBox::Capacitance,
                  context.other);
    state.cboC = context.capacitanceUnit;
    state.cboFreq = context.frequencyUnit;
    handlers.cboC_Click();
  }
  FormState state;
  CountedHandlers handlers;
};

// Every text of 1 to `longest` characters whose first character's index is
// congruent to `part` modulo `parts`, in odometer order.
void ForEachText(std::string_view alphabet, std::size_t longest, std::size_t part,
                 std::size_t parts, const std::function<void(const std::string&)>& feed) {
  std::string text;
  std::vector<std::size_t> digits(longest);
  for (std::size_t length = 1; length <= longest; ++length) {
    std::fill(digits.begin(), digits.end(), 0);
    digits[0] = part;
    text.assign(length, ' ');
    while (true) {
      for (std::size_t i = 0; i < length; ++i) text[i] = alphabet[digits[i]];
      feed(text);
      // Odometer over positions 1..length-1; position 0 steps by `parts`.
      std::size_t i = length;
      while (i-- > 1) {
        if (++digits[i] < alphabet.size()) break;
        digits[i] = 0;
      }
      if (i == 0) {
        digits[0] += parts;
        if (digits[0] >= alphabet.size()) break;
      }
    }
  }
}

struct Failure {
  std::string text;
  std::string what;
};

struct Totals {
  std::atomic<long long> events{0};
  std::mutex mutex;
  std::vector<Failure> failures;
};

constexpr std::size_t kMostFailuresKept = 20;

void Record(Totals& totals, std::string text, std::string what) {
  std::lock_guard lock(totals.mutex);
  if (totals.failures.size() < kMostFailuresKept) totals.failures.push_back({text, what});
}

// One box, one context, one separator, one part of the texts (the empty
// text goes to part 0).
void SweepPart(std::string_view alphabet, InputBox box, const Context& context,
               const NumberFormat& format, std::size_t part, std::size_t parts, Totals& totals) {
  Form form(box, context, format);
  long long events = 0;
  auto feed = [&](const std::string& text) {
    const HandlerCounts before = form.handlers.counts();
    try {
      if (form.state.Text(box) == text) {
        // The box holds it already, so typing it raises no change; check
        // the correction on it all the same.
        form.handlers.CorrectInputField(box);
      } else {
        form.state.SetText(box, text);
      }
    } catch (const std::exception& error) {
      Record(totals, text, std::string("threw ") + error.what());
      return;
    }
    ++events;
    std::string broken = BrokenInvariant(form.state, format, before, form.handlers.counts());
    if (!broken.empty()) Record(totals, text, broken);
  };
  if (part == 0) feed("");
  ForEachText(alphabet, kLongestText, part, parts, feed);
  totals.events += events;
}

int Sweep(bool full) {
  const std::string_view alphabet = full ? kFullAlphabet : kReducedAlphabet;
  const std::size_t parts = std::max(2u, std::thread::hardware_concurrency());
  Totals totals;
  for (const NumberFormat& format : {NumberFormat{"."}, NumberFormat{","}}) {
    for (InputBox box : {InputBox::Capacitance, InputBox::Frequency}) {
      for (const Context& context : kContexts) {
        std::vector<std::thread> threads;
        for (std::size_t part = 0; part < parts; ++part) {
          threads.emplace_back(
              [&, part] { SweepPart(alphabet, box, context, format, part, parts, totals); });
        }
        for (auto& thread : threads) thread.join();
      }
    }
  }
  for (const Failure& failure : totals.failures) {
    std::printf("FAILED on '%s': %s\n", failure.text.c_str(), failure.what.c_str());
  }
  std::printf("sweep (%s alphabet of %zu characters): %lld events, %zu failures\n",
              full ? "full" : "reduced", alphabet.size(), totals.events.load(),
              totals.failures.size());
  return totals.failures.empty() ? 0 : 1;
}

// FNV-1a over every result, or the results themselves.
class Transcript {
 public:
  explicit Transcript(bool list) : list_(list) {}

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

// Any bit pattern: every exponent, subnormals, infinities and NaNs included.
void WriteAndReadRandomDoubles(const NumberFormat& format, Transcript& out) {
  std::mt19937_64 bits(kSeed);
  for (int i = 0; i < kRandomDoubles; ++i) {
    const double x = DoubleFromBits(bits());
    const std::string text = NumberToText(x, format);
    const double back = TextToNumber(text, format);
    char line[64];
    std::snprintf(line, sizeof line, "%016llx ", static_cast<unsigned long long>(BitsOf(back)));
    out.Add(line + text);
  }
}

int Transcribe(bool list) {
  Transcript out(list);
  for (const NumberFormat& format : {NumberFormat{"."}, NumberFormat{","}}) {
    for (InputBox box : {InputBox::Capacitance, InputBox::Frequency}) {
      for (std::size_t c = 0; c < kContexts.size(); ++c) {
        Form form(box, kContexts[c], format);
        const FormState& state = form.state;
        ForEachText(kReducedAlphabet, kLongestTranscribedText, 0, 1, [&](const std::string& text) {
          form.state.SetText(box, text);
          out.Add(text + '\t' + state.Text(box) + '\t' + state.txtR + '\t' + state.lblUM +
                  (state.txtRVisible ? "" : "\thidden"));
        });
        out.Close("typed into box " + std::to_string(static_cast<int>(box)) + ", context " +
                  std::to_string(c) + ", separator " + format.decimal);
      }
    }
    WriteAndReadRandomDoubles(format, out);
    out.Close("random doubles written and read, separator " + format.decimal);
  }
  return 0;
}

}  // namespace
}  // namespace velmorida::testing

int main(int argc, char** argv) {
  const std::string_view mode = argc > 1 ? argv[1] : "reduced";
  if (mode == "transcript") {
    return velmorida::testing::Transcribe(argc > 2 && std::strcmp(argv[2], "list") == 0);
  }
  return velmorida::testing::Sweep(mode == "full");
}
