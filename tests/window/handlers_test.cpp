#include "window/handlers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/counted_handlers.h"

namespace velmorida {
namespace {

const NumberFormat kDot{"."};

// A started-up form with its handlers, as the window holds them.
struct Form {
  explicit Form(const NumberFormat& format = kDot)
      : handlers(state, format, [this] {
          ++endCalls;
          return true;
        }) {
    handlers.Form_Load();
  }
  // A user's edit: the box takes the text, which raises its change event.
  void Type(InputBox box, const std::string& text) { state.SetText(box, text); }

  FormState state;
  int endCalls = 0;
  testing::CountedHandlers handlers;
};

TEST(Handlers, StartUpShowsZeroInPicofaradAndHertz) {
  Form form;
  EXPECT_EQ(form.state.txtC(), "0");
  EXPECT_EQ(form.state.cboC, "pF");
  EXPECT_EQ(form.state.txtFreq(), "0");
  EXPECT_EQ(form.state.cboFreq, "Hz");
  EXPECT_EQ(form.state.txtR, "0");
  EXPECT_EQ(form.state.lblUM, "Ohm");
  EXPECT_TRUE(form.state.txtRVisible && form.state.lblUMVisible && form.state.lblEtichete0Visible);
}

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
// recomputes twice; anything else stays as typed and recomputes once.
const EntryRow kEntries[] = {
    {"ClearedBox", "", "0", 1, 1, 2},
    {"LoneMinus", "-", "0", 1, 1, 2},
    {"PastedLetters", "abc", "0", 1, 1, 2},
    {"MinusInFront", "-5", "5", 2, 1, 2},
    {"NegativeCutToSix", "-12e-5", "0.0001", 2, 1, 2},
    {"NegativeLargeCutToSix", "-123e4", "123000", 2, 1, 2},
    {"NegativeExponentFormCutToSix", "-12e20", "1.2E+2", 2, 1, 2},
    {"ExponentStaysAsTyped", "1e3", "1e3", 1, 0, 1},
    {"LeadingBlankStaysAsTyped", " 7", " 7", 1, 0, 1},
    {"MinusZeroStaysAsTyped", "-0", "-0", 1, 0, 1},
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

TEST(Handlers, NegativeEntryIsComputedWithItsCutAbsoluteValue) {
  Form form;
  form.Type(InputBox::Frequency, "1");
  form.state.cboFreq = "kHz";
  form.handlers.cboFreq_Click();
  form.Type(InputBox::Capacitance, "-100");
  form.state.cboC = "nF";
  form.handlers.cboC_Click();
  EXPECT_EQ(form.state.txtC(), "100");
  EXPECT_EQ(form.state.txtR, "1.592");
  EXPECT_EQ(form.state.lblUM, "kOhm");
}

TEST(Handlers, ChoosingAUnitRecomputesAndTheSameUnitChangesNothing) {
  Form form;
  form.Type(InputBox::Capacitance, "100");
  form.Type(InputBox::Frequency, "1");
  form.state.cboC = "nF";
  form.handlers.cboC_Click();
  EXPECT_EQ(form.state.txtR, "1.592");
  EXPECT_EQ(form.state.lblUM, "MOhm");
  form.state.cboFreq = "kHz";
  form.handlers.cboFreq_Click();
  EXPECT_EQ(form.state.txtR, "1.592");
  EXPECT_EQ(form.state.lblUM, "kOhm");
  form.handlers.cboFreq_Click();
  form.handlers.cboFreq_Change();
  form.handlers.cboC_Change();
  EXPECT_EQ(form.state.txtR, "1.592");
  EXPECT_EQ(form.state.lblUM, "kOhm");
}

TEST(Handlers, EscapeEndsAndNothingRunsAfterIt) {
  Form form;
  form.handlers.Form_KeyPress('a');
  form.handlers.Form_KeyPress('\r');
  EXPECT_EQ(form.endCalls, 0);
  form.handlers.Form_KeyPress(kEscapeCharacterCode);
  EXPECT_EQ(form.endCalls, 1);
  EXPECT_TRUE(form.handlers.ended());

  const int recalculations = form.handlers.counts().recalculations;
  form.Type(InputBox::Capacitance, "abc");
  form.handlers.cboC_Click();
  form.handlers.cboFreq_Click();
  form.handlers.Form_KeyPress(kEscapeCharacterCode);
  EXPECT_EQ(form.handlers.counts().recalculations, recalculations);
  EXPECT_EQ(form.endCalls, 1);
  EXPECT_EQ(form.state.txtR, "0");
}

TEST(Handlers, CommaLocaleCorrectsAndComputesWithComma) {
  Form form(NumberFormat{","});
  form.Type(InputBox::Capacitance, "0.47");
  EXPECT_EQ(form.state.txtC(), "0");
  form.Type(InputBox::Capacitance, "-0,47");
  EXPECT_EQ(form.state.txtC(), "0,47");
  form.state.cboC = "uF";
  form.handlers.cboC_Click();
  form.Type(InputBox::Frequency, "1");
  form.state.cboFreq = "kHz";
  form.handlers.cboFreq_Click();
  EXPECT_EQ(form.state.txtR, "338,7993");
}

}  // namespace
}  // namespace velmorida
