#include "window/handlers.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/counted_handlers.h"

namespace velmorida {
namespace {

const NumberFormat kDot{"."};

// A started-up form with its handlers, as the calculator holds them.
struct Form {
  Form() : handlers(state, kDot, {}) { handlers.Form_Load(); }
  // A user's edit: the box takes the text, which raises its change event.
  void Type(InputBox box, const std::string& text) { state.SetText(box, text); }

  FormState state;
  testing::CountedHandlers handlers;
};

struct EntryRow {
  const char* name;
  const char* typed;
  const char* kept;
  int recalculations;
  int writes;
  int nesting;
};

// A non-numeric entry becomes "0" and recomputes once, in the nested run; a
// negative one becomes its absolute value, cut to six characters, and
// recomputes twice; anything else stays as typed and recomputes once. What
// more entries ("abc", "-5", "-0", "1e3") are kept as is the behaviour table's.
const EntryRow kEntries[] = {
    {"NegativeCutToSix", "-12e-5", "0.0001", 2, 1, 2},
    {"NegativeLargeCutToSix", "-123e4", "123000", 2, 1, 2},
    {"NegativeExponentFormCutToSix", "-12e20", "1.2E+2", 2, 1, 2},
    {"Overflowing", "1e309", "0", 1, 1, 2},
    {"SeventhCharacterNeverArrives", "1234567", "123456", 1, 0, 1},
};

TEST(Handlers, CorrectionRuleOnEitherBox) {
  for (InputBox box : {InputBox::Capacitance, InputBox::Frequency}) {
    for (const auto& row : kEntries) {
      Form form;
      form.Type(box, "9");  // so that every entry below is a change
      const testing::HandlerCounts before = form.handlers.counts();
      form.Type(box, row.typed);
      const testing::HandlerCounts& after = form.handlers.counts();
      EXPECT_EQ(form.state.Text(box), row.kept) << row.name;
      EXPECT_EQ(after.recalculations - before.recalculations, row.recalculations) << row.name;
      EXPECT_EQ(after.correctionWrites - before.correctionWrites, row.writes) << row.name;
      // The "9" before nested one deep, so the deepest is this entry's own.
      EXPECT_EQ(after.deepestNesting, row.nesting) << row.name;
    }
  }
}

}  // namespace
}  // namespace velmorida
