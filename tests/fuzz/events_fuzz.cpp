// libFuzzer target for event sequences: the bytes are decoded into typed
// characters, pastes, deletions, unit choices and Escape on a FormState with
// its handlers, and the invariants are checked after every event.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calc/reactance.h"
#include "tests/support/invariants.h"

namespace velmorida::testing {
namespace {

// Characters a user types most; a raw byte is typed as well now and then.
constexpr std::string_view kTypedCharacters = "0123456789.,eE+- \t";
constexpr std::size_t kLongestPaste = 24;

enum class Action : std::uint8_t {
  Type,
  Delete,
  Paste,
  ChooseCapacitance,
  ChooseFrequency,
  Escape
};
constexpr std::uint8_t kActions = 6;

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
  std::string_view Take(std::size_t count) {
    count = std::min(count, size_ - at_);
    std::string_view taken(reinterpret_cast<const char*>(data_ + at_), count);
    at_ += count;
    return taken;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

void Fail(const std::string& broken) {
  std::fprintf(stderr, "invariant broken: %s\n", broken.c_str());
  std::abort();
}

int PlayEvents(const std::uint8_t* data, std::size_t size) {
  Reader input(data, size);
  const NumberFormat format{input.Next() % 2 == 0 ? "." : ","};
  FormState state;
  int endCalls = 0;
  CountedHandlers handlers(state, format, [&] {
    ++endCalls;
    return true;
  });
  handlers.Form_Load();

  while (!input.empty()) {
    const std::uint8_t code = input.Next();
    const auto action = static_cast<Action>(code % kActions);
    const InputBox box = (code / kActions) % 2 == 0 ? InputBox::Capacitance : InputBox::Frequency;
    std::string text = state.Text(box);
    const std::size_t caret = text.empty() ? 0 : input.Next() % (text.size() + 1);
    const HandlerCounts before = handlers.counts();
    switch (action) {
      case Action::Type: {
        const std::uint8_t key = input.Next();
        const char typed = key < 0xF0 ? kTypedCharacters[key % kTypedCharacters.size()]
                                      : static_cast<char>(input.Next());
        text.insert(caret, 1, typed);
        state.SetText(box, text);
        break;
      }
      case Action::Delete:
        if (caret < text.size()) text.erase(caret, 1);
        state.SetText(box, text);
        break;
      case Action::Paste:
        text.insert(caret, input.Take(input.Next() % kLongestPaste));
        state.SetText(box, text);
        break;
      case Action::ChooseCapacitance:
        state.cboC = kCapacitanceUnits[input.Next() % kCapacitanceUnits.size()].name;
        handlers.cboC_Click();
        break;
      case Action::ChooseFrequency:
        state.cboFreq = kFrequencyUnits[input.Next() % kFrequencyUnits.size()].name;
        handlers.cboFreq_Click();
        break;
      case Action::Escape: {
        const std::string readOutAtEnd = state.txtR;
        handlers.Form_KeyPress(kEscapeCharacterCode);
        if (endCalls != 1) Fail("Escape did not end the program once");
        // Nothing runs after the end, whatever comes.
        state.SetText(InputBox::Capacitance, "-5");
        handlers.cboC_Click();
        handlers.Form_KeyPress(kEscapeCharacterCode);
        if (endCalls != 1 || state.txtR != readOutAtEnd ||
            handlers.counts().recalculations != before.recalculations) {
          Fail("a handler ran after the end");
        }
        return 0;
      }
    }
    if (auto broken = BrokenInvariant(state, format, before, handlers.counts()); !broken.empty()) {
      Fail(broken);
    }
  }
  return 0;
}

}  // namespace
}  // namespace velmorida::testing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return velmorida::testing::PlayEvents(data, size);
}
