// Feeds every text of up to six characters over a small alphabet into each
// input box, through the real handlers, and checks the invariants after each
// event. Two threads share the work. Prints the count of events swept.
//
//   sweep [full|reduced]
//   full:    0-9 . , e E + - and blank (17 characters, about 25.6 million texts)
//   reduced: 0 1 5 9 . , e - and blank (9 characters, about 600 thousand texts)
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/support/invariants.h"

namespace {

using velmorida::FormState;
using velmorida::InputBox;
using velmorida::NumberFormat;
using velmorida::testing::CountedHandlers;

constexpr std::string_view kFullAlphabet = "0123456789.,eE+- ";
constexpr std::string_view kReducedAlphabet = "0159.,e- ";
constexpr std::size_t kLongestText = FormState::kInputMaxChars;

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

// One box, one context, one separator; texts whose first character's index
// is congruent to `part` modulo `parts` (the empty text goes to part 0).
void SweepPart(std::string_view alphabet, InputBox box, const Context& context,
               const NumberFormat& format, std::size_t part, std::size_t parts, Totals& totals) {
  FormState state;
  CountedHandlers handlers(state, format, [] { return true; });
  handlers.Form_Load();
  const InputBox other = box == InputBox::Capacitance ? InputBox::Frequency : InputBox::Capacitance;
  state.SetText(other, context.other);
  state.cboC = context.capacitanceUnit;
  state.cboFreq = context.frequencyUnit;
  handlers.cboC_Click();

  long long events = 0;
  auto feed = [&](const std::string& text) {
    const velmorida::testing::HandlerCounts before = handlers.counts();
    try {
      if (state.Text(box) == text) {
        // The box holds it already, so typing it raises no change; check
        // the correction on it all the same.
        handlers.CorrectInputField(box);
      } else {
        state.SetText(box, text);
      }
    } catch (const std::exception& error) {
      Record(totals, text, std::string("threw ") + error.what());
      return;
    }
    ++events;
    std::string broken =
        velmorida::testing::BrokenInvariant(state, format, before, handlers.counts());
    if (!broken.empty()) Record(totals, text, broken);
  };

  if (part == 0) feed("");
  std::string text;
  std::array<std::size_t, kLongestText> digits{};
  for (std::size_t length = 1; length <= kLongestText; ++length) {
    digits.fill(0);
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
  totals.events += events;
}

}  // namespace

int main(int argc, char** argv) {
  const bool full = argc > 1 && std::strcmp(argv[1], "full") == 0;
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
  const long long events = totals.events.load();
  std::printf("sweep (%s alphabet of %zu characters): %lld events, %zu failures\n",
              full ? "full" : "reduced", alphabet.size(), events, totals.failures.size());
  return totals.failures.empty() ? 0 : 1;
}
