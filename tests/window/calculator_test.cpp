#include "window/calculator.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace velmorida {
namespace {

const NumberFormat kDot{"."};
const NumberFormat kComma{","};

using layout::ControlId;

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

TEST(Calculator, CaretAfterAnEdit) {
  for (const CaretRow& row : kCarets) {
    Calculator calculator(kDot, {});
    calculator.Edit(InputBox::Frequency, "9");
    EXPECT_EQ(calculator.Edit(InputBox::Frequency, row.typed).caret, row.caret) << row.name;
  }
}

// Each new figure is told once with its unit; an edit that leaves it, and
// every figure while the read-out is hidden, tell nothing.
TEST(Calculator, WhatIsSpokenAfterEachEdit) {
  Calculator calculator(kDot, {});
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
    EXPECT_EQ(calculator.Edit(step.box, step.typed).spoken, step.said) << step.name;
  }
  EXPECT_TRUE(calculator.state().txtRVisible);
}

// A tap or a click that gives a box the focus selects the "0" the user is to
// type over, and nothing else: a number keeps the caret where it is put.
TEST(Calculator, PointerFocusSelectsOnlyALoneZero) {
  const struct {
    const char* name;
    const NumberFormat* format;
    const char* typed;
    bool selects;
  } rows[] = {
      {"StartUpZero", &kDot, nullptr, true},     {"CorrectedToZero", &kDot, "abc", true},
      {"ZeroInACommaLocale", &kComma, "", true}, {"Number", &kDot, "47", false},
      {"ZeroWithDecimals", &kDot, "0.0", false}, {"MinusZero", &kDot, "-0", false},
  };
  for (const auto& row : rows) {
    Calculator calculator(*row.format, {});
    if (row.typed != nullptr) calculator.Edit(InputBox::Frequency, row.typed);
    EXPECT_EQ(calculator.SelectsOnPointerFocus(InputBox::Frequency), row.selects) << row.name;
    EXPECT_TRUE(calculator.SelectsOnPointerFocus(InputBox::Capacitance)) << row.name;
  }
}

struct UnitRow {
  const char* name;
  UnitList list;
  std::size_t item;
  const char* said;
  const char* cboC;
  const char* cboFreq;
};

// A choice sets its own list's unit and recomputes: the unit is said, with
// the figure when it changed. From 100 pF at 1 Hz.
const UnitRow kUnits[] = {
    {"CapacitanceList", UnitList::Capacitance, 1, "nF, 1.592 MOhm", "nF", "Hz"},
    {"FrequencyList", UnitList::Frequency, 2, "MHz, 1.592 kOhm", "pF", "MHz"},
    {"SameUnitSaysOnlyTheUnit", UnitList::Frequency, 0, "Hz", "pF", "Hz"},
    {"ItemTheListLacksDoesNothing", UnitList::Capacitance, 3, "", "pF", "Hz"},
};

TEST(Calculator, AUnitChoiceSetsItsListAndTellsWhatChanged) {
  for (const UnitRow& row : kUnits) {
    Calculator calculator(kDot, {});
    calculator.Edit(InputBox::Capacitance, "100");
    calculator.Edit(InputBox::Frequency, "1");
    EXPECT_EQ(calculator.ChooseUnit(row.list, row.item), row.said) << row.name;
    EXPECT_EQ(calculator.state().cboC, row.cboC) << row.name;
    EXPECT_EQ(calculator.state().cboFreq, row.cboFreq) << row.name;
  }
}

struct PasteRow {
  const char* name;
  std::string_view pasted;
  bool textSelected;
  std::optional<std::string> inserted;
};

// A paste loses the CR and LF at its two ends; blanks, and line breaks
// inside, stay for the number reader to judge. A paste left empty changes
// nothing unless it replaces selected text.
const PasteRow kPastes[] = {
    {"SpreadsheetCell", "470\n", false, "470"},
    {"WindowsLineEnds", "\r\n470\r\n", false, "470"},
    {"BlankKept", " 7\r\n", false, " 7"},
    {"BlankBeforeTheBreakKept", "470 \n", false, "470 "},
    {"BreakInsideKept", "1\n2", false, "1\n2"},
    {"NothingToTrim", "0.47", true, "0.47"},
    {"BreaksOnlyAtTheCaret", "\r\n\r\n", false, std::nullopt},
    {"EmptyAtTheCaret", "", false, std::nullopt},
    {"BreaksOnlyOverASelection", "\n", true, ""},
    {"EmptyOverASelection", "", true, ""},
};

TEST(Calculator, WhatAPasteInserts) {
  const Calculator calculator(kDot, {});
  for (const PasteRow& row : kPastes) {
    EXPECT_EQ(calculator.Paste(row.pasted, row.textSelected), row.inserted) << row.name;
  }
}

Key Ctrl(char32_t character) {
  Key key;
  key.control = true;
  key.character = character;
  return key;
}

Key With(Key key, bool Key::*modifier) {
  key.*modifier = true;
  return key;
}

Key Escape() {
  Key key;
  key.escape = true;
  return key;
}

Key KeypadDecimal() {
  Key key;
  key.keypadDecimal = true;
  key.character = U'.';
  return key;
}

struct KeyRow {
  const char* name;
  Key key;
  KeyTarget target;
  KeyAction action;
};

// Ctrl+R alone speaks, Escape ends from anywhere, and the keypad's decimal
// key types the separator in an input box only; other keys go on as usual.
const KeyRow kKeys[] = {
    {"CtrlRSpeaks", Ctrl(U'R'), KeyTarget::OtherControl, KeyAction::SpeakResult},
    {"CtrlLowerRSpeaks", Ctrl(U'r'), KeyTarget::InputBox, KeyAction::SpeakResult},
    {"CtrlShiftRIsNotOurs", With(Ctrl(U'R'), &Key::shift), KeyTarget::InputBox, KeyAction::None},
    {"CtrlAltRIsNotOurs", With(Ctrl(U'R'), &Key::alt), KeyTarget::InputBox, KeyAction::None},
    {"CtrlMetaRIsNotOurs", With(Ctrl(U'R'), &Key::meta), KeyTarget::InputBox, KeyAction::None},
    {"RAloneIsTyped", Key{.character = U'r'}, KeyTarget::InputBox, KeyAction::None},
    {"CtrlOtherLetter", Ctrl(U'S'), KeyTarget::InputBox, KeyAction::None},
    {"EscapeInABox", Escape(), KeyTarget::InputBox, KeyAction::End},
    {"EscapeInAList", Escape(), KeyTarget::OtherControl, KeyAction::End},
    {"ShiftEscape", With(Escape(), &Key::shift), KeyTarget::OtherControl, KeyAction::End},
    {"KeypadDecimalInABox", KeypadDecimal(), KeyTarget::InputBox, KeyAction::InsertSeparator},
    {"ShiftKeypadDecimalInABox", With(KeypadDecimal(), &Key::shift), KeyTarget::InputBox,
     KeyAction::InsertSeparator},
    {"KeypadDecimalElsewhere", KeypadDecimal(), KeyTarget::OtherControl, KeyAction::None},
    {"CtrlKeypadDecimal", With(KeypadDecimal(), &Key::control), KeyTarget::InputBox,
     KeyAction::None},
    {"AltKeypadDecimal", With(KeypadDecimal(), &Key::alt), KeyTarget::InputBox, KeyAction::None},
    {"MainKeyboardPeriod", Key{.character = U'.'}, KeyTarget::InputBox, KeyAction::None},
};

TEST(Calculator, WhatEachKeyMeans) {
  for (const KeyRow& row : kKeys) {
    EXPECT_EQ(KeyActionOf(row.key, row.target), row.action) << row.name;
  }
}

// Only the two input boxes take the keypad's separator: not the read-out,
// not a list, not an open list's popup, which is none of the layout's.
TEST(Calculator, KeysGoToTheInputBoxesOnly) {
  EXPECT_EQ(TargetOf(ControlId::txtFreq), KeyTarget::InputBox);
  EXPECT_EQ(TargetOf(ControlId::txtR), KeyTarget::OtherControl);
  EXPECT_EQ(TargetOf(ControlId::cboC), KeyTarget::OtherControl);
  EXPECT_EQ(TargetOf(std::nullopt), KeyTarget::OtherControl);
}

// Ctrl+R gives the figure with its unit, the keypad the user's separator.
TEST(Calculator, KeysCarryTheirText) {
  Calculator calculator(kComma, {});
  calculator.Edit(InputBox::Capacitance, "100");
  calculator.ChooseUnit(UnitList::Capacitance, 1);
  calculator.Edit(InputBox::Frequency, "1");
  calculator.ChooseUnit(UnitList::Frequency, 1);
  EXPECT_EQ(calculator.Press(Ctrl(U'R'), ControlId::cboFreq).text, "1,592 kOhm");
  EXPECT_EQ(calculator.Press(KeypadDecimal(), ControlId::txtFreq).text, ",");
}

// Escape ends once; after it no key and no edit does anything. Where the
// platform keeps the program running (a browser tab the page may not close),
// the calculator goes on as before.
TEST(Calculator, EscapeEndsWhereThePlatformCan) {
  for (const bool platformEnds : {true, false}) {
    int endCalls = 0;
    Calculator calculator(kDot, [&] {
      ++endCalls;
      return platformEnds;
    });
    const KeyAction action = calculator.Press(Escape(), ControlId::txtC).action;
    EXPECT_EQ(action, platformEnds ? KeyAction::End : KeyAction::None) << platformEnds;
    calculator.Edit(InputBox::Capacitance, "1");
    calculator.Edit(InputBox::Frequency, "1");
    EXPECT_EQ(calculator.state().txtR, platformEnds ? "0" : "159235.669") << platformEnds;
    EXPECT_EQ(calculator.Press(Ctrl(U'R'), ControlId::txtC).action,
              platformEnds ? KeyAction::End : KeyAction::SpeakResult)
        << platformEnds;
    EXPECT_EQ(calculator.ended(), platformEnds);
    EXPECT_EQ(endCalls, 1) << platformEnds;
  }
}

// What a render shows: the boxes and lists as the user left them, and the
// read-out with its unit and caption, all three hidden together while no
// figure can be computed.
TEST(Calculator, RenderShowsTheStateAndHidesTheReadOutTogether) {
  Calculator calculator(kDot, {});
  calculator.Edit(InputBox::Capacitance, "1e-300");
  calculator.Edit(InputBox::Frequency, "1e-300");
  calculator.ChooseUnit(UnitList::Frequency, 2);
  const View view = calculator.Render();
  EXPECT_EQ(view.TextOf(ControlId::txtC), "1e-300");
  EXPECT_EQ(view.TextOf(ControlId::cboFreq), "MHz");
  EXPECT_EQ(view.TextOf(ControlId::lblEtichete0), "Velmorida condensatorului:");
  for (const ControlView& control : view.controls) {
    const bool readOutPart = control.id == ControlId::txtR || control.id == ControlId::lblUM ||
                             control.id == ControlId::lblEtichete0;
    EXPECT_EQ(control.visible, !readOutPart) << layout::ControlOf(control.id).name;
  }
}

}  // namespace
}  // namespace velmorida
