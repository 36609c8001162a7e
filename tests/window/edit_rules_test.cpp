#include "window/edit_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "window/handlers.h"

namespace velmorida {
namespace {

const NumberFormat kDot{"."};

// A started-up form, edited as a user edits the window.
struct Form {
  Form() : handlers(state, kDot, {}) { handlers.Form_Load(); }
  void Type(InputBox box, const std::string& text) { state.SetText(box, text); }
  void Choose(std::string& list, const char* unit) {
    list = unit;
    handlers.cboC_Click();
  }

  FormState state;
  Handlers handlers;
};

struct CaretRow {
  const char* name;
  const char* typed;
  CaretAfterEdit caret;
};

// After a correction to "0" the "0" is selected, so that the next digit
// replaces it; after any other correction the caret goes to the end; a text
// kept as typed leaves the caret where the user put it.
const CaretRow kCarets[] = {
    {"DigitsKept", "12", CaretAfterEdit::Untouched},
    {"MinusZeroKept", "-0", CaretAfterEdit::Untouched},
    {"ClearedBoxSelectsItsZero", "", CaretAfterEdit::SelectAll},
    {"LettersSelectTheZero", "abc", CaretAfterEdit::SelectAll},
    {"NegativeGoesToTheEnd", "-5", CaretAfterEdit::AtEnd},
    {"NegativeCutGoesToTheEnd", "-12e-5", CaretAfterEdit::AtEnd},
};

TEST(EditRules, CaretAfterAnEdit) {
  for (const CaretRow& row : kCarets) {
    Form form;
    form.Type(InputBox::Frequency, "9");
    form.Type(InputBox::Frequency, row.typed);
    EXPECT_EQ(CaretAfter(form.state, InputBox::Frequency, row.typed, kDot), row.caret) << row.name;
  }
}

// Each new figure is told once with its unit; an edit that leaves it, and
// every figure while the read-out is hidden, tell nothing.
TEST(EditRules, WhatIsSpokenAfterEachStep) {
  Form form;
  struct Step {
    const char* name;
    InputBox box;
    const char* typed;
    const char* said;
  };
  const Step steps[] = {
      {"FigureStaysZero", InputBox::Capacitance, "100", ""},
      {"NewFigure", InputBox::Frequency, "1", "1592.357 MOhm"},
      {"SameFigure", InputBox::Capacitance, "100.0", ""},
      {"FigureBeyondOhms", InputBox::Capacitance, "1e-300", "1.59235668790053E+305 MOhm"},
      {"ReadOutHidden", InputBox::Frequency, "1e-300", ""},
      {"StillHidden", InputBox::Frequency, "2e-300", ""},
      {"ShownAgain", InputBox::Frequency, "1", "1.59235668790053E+305 MOhm"},
  };
  for (const Step& step : steps) {
    const std::string before = SpokenResult(form.state);
    form.Type(step.box, step.typed);
    EXPECT_EQ(SpokenAfterEdit(form.state, before), step.said) << step.name;
  }
  EXPECT_TRUE(form.state.txtRVisible);
}

TEST(EditRules, AUnitChoiceTellsTheUnitAndAnyNewFigure) {
  Form form;
  form.Type(InputBox::Capacitance, "100");
  std::string before = SpokenResult(form.state);
  form.Choose(form.state.cboC, "nF");
  EXPECT_EQ(SpokenAfterUnitChoice(form.state, "nF", before), "nF");
  form.Type(InputBox::Frequency, "1");
  before = SpokenResult(form.state);
  form.Choose(form.state.cboFreq, "kHz");
  EXPECT_EQ(SpokenAfterUnitChoice(form.state, "kHz", before), "kHz, 1.592 kOhm");
}

struct PasteRow {
  const char* name;
  std::string_view pasted;
  std::string_view kept;
};

// A paste loses the CR and LF at its two ends; blanks, and line breaks
// inside, stay for the number reader to judge.
const PasteRow kPastes[] = {
    {"SpreadsheetCell", "470\n", "470"},
    {"WindowsLineEnds", "\r\n470\r\n", "470"},
    {"BlankKept", " 7\r\n", " 7"},
    {"BlankBeforeTheBreakKept", "470 \n", "470 "},
    {"BreakInsideKept", "1\n2", "1\n2"},
    {"BreaksOnly", "\r\n\r\n", ""},
    {"Empty", "", ""},
    {"NothingToTrim", "0.47", "0.47"},
};

TEST(EditRules, PastesLoseTheirEdgeLineBreaks) {
  for (const PasteRow& row : kPastes) {
    EXPECT_EQ(WithoutEdgeLineBreaks(row.pasted), row.kept) << row.name;
  }
}

}  // namespace
}  // namespace velmorida
