#include "calc/form_state.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace velmorida {
namespace {

// The change hook is one window's (see FormState's deleted copy).
static_assert(!std::is_copy_constructible_v<FormState> && !std::is_copy_assignable_v<FormState> &&
              !std::is_move_constructible_v<FormState>);

struct CutRow {
  const char* name;
  const char* assigned;
  const char* kept;
};

// At most six characters are kept; a character is never split.
const CutRow kCuts[] = {
    {"ShortIsKept", "123", "123"},
    {"SixIsKept", "123456", "123456"},
    {"SeventhIsCut", "1234567", "123456"},
    {"TwoByteCharactersCountOnce", "\xC2\xB5\xC2\xB5\xC2\xB5\xC2\xB5\xC2\xB5\xC2\xB5\xC2\xB5",
     "\xC2\xB5\xC2\xB5\xC2\xB5\xC2\xB5\xC2\xB5\xC2\xB5"},
    {"FourByteCharacterKeptWhole",
     "12345\xF0\x9F\x98\x80"
     "7",
     "12345\xF0\x9F\x98\x80"},
    {"StrayContinuationBytes", "\x80\x80\x80\x80\x80\x80\x80", "\x80\x80\x80\x80\x80\x80\x80"},
    {"Empty", "", ""},
};

TEST(FormState, InputTextsKeepTheirFirstSixCharacters) {
  for (const auto& row : kCuts) {
    for (InputBox box : {InputBox::Capacitance, InputBox::Frequency}) {
      FormState state;
      state.SetText(box, row.assigned);
      EXPECT_EQ(state.Text(box), row.kept) << row.name;
    }
  }
}

TEST(FormState, OnlyAChangedTextRaisesItsBoxsChangeEvent) {
  FormState state;
  std::vector<InputBox> raised;
  state.SetChangeHook([&](InputBox box) { raised.push_back(box); });
  state.SetText(InputBox::Capacitance, "0");  // already "0"
  state.SetText(InputBox::Frequency, "5");
  state.SetText(InputBox::Capacitance, "1234567");
  state.SetText(InputBox::Capacitance, "123456");  // the same after the cut
  EXPECT_EQ(raised, (std::vector<InputBox>{InputBox::Frequency, InputBox::Capacitance}));
}

}  // namespace
}  // namespace velmorida
