#include "window/calculator.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "window/calculator_internals.h"

namespace velmorida {
namespace {

using layout::ControlId;

const FormState& StateOf(const Calculator& calculator) {
  return CalculatorInternals::State(calculator);
}

TEST(Calculator, StartsWithTheFocusOnTheCapacitanceBoxsSelectedZero) {
  const Calculator calculator(".", {});
  const Focus focus = calculator.FirstFocus();
  EXPECT_EQ(focus.control, ControlId::txtC);
  EXPECT_EQ(focus.caret, Caret::SelectAll);
}

struct CaretRow {
  const char* name;
  const char* typed;
  Caret caret;
};

// After a correction to "0" the "0" is selected, so that the next digit
// replaces it; after any other correction the caret goes to the end; a text
// kept as typed leaves the caret where the user put it.
const CaretRow kCarets[] = {
    {"DigitsKept", "12", Caret::Kept},
    {"MinusZeroKept", "-0", Caret::Kept},
    {"ClearedBoxSelectsItsZero", "", Caret::SelectAll},
    {"LettersSelectTheZero", "abc", Caret::SelectAll},
    {"NegativeGoesToTheEnd", "-5", Caret::AtEnd},
    {"NegativeCutGoesToTheEnd", "-12e-5", Caret::AtEnd},
};

TEST(Calculator, CaretAfterAnEdit) {
  for (const CaretRow& row : kCarets) {
    Calculator calculator(".", {});
    calculator.Edit(ControlId::txtFreq, "9");
    EXPECT_EQ(calculator.Edit(ControlId::txtFreq, row.typed).caret, row.caret) << row.name;
  }
  Calculator calculator(".", {});
  EXPECT_EQ(calculator.Edit(ControlId::txtR, "5").caret, Caret::Kept);
  EXPECT_EQ(StateOf(calculator).txtR, "0") << "the read-out is no input";
}

// Each new figure is told once with its unit, computed from the corrected
// text; an edit that leaves it, and every figure while the read-out is
// hidden, tell nothing.
TEST(Calculator, WhatIsSpokenAfterEachEdit) {
  Calculator calculator(".", {});
  struct Step {
    const char* name;
    ControlId box;
    const char* typed;
    const char* said;
  };
  const Step steps[] = {
      {"FigureStaysZero", ControlId::txtC, "100", ""},
      {"NewFigure", ControlId::txtFreq, "1", "1592.357 MOhm"},
      {"SameFigure", ControlId::txtC, "100.0", ""},
      {"NegativeComputedAsItsAbsoluteValue", ControlId::txtC, "-5", "31847.134 MOhm"},
      {"FigureBeyondOhms", ControlId::txtC, "1e-300", "1.59235668790053E+305 MOhm"},
      {"ReadOutHidden", ControlId::txtFreq, "1e-300", ""},
      {"StillHidden", ControlId::txtFreq, "2e-300", ""},
      {"ShownAgain", ControlId::txtFreq, "1", "1.59235668790053E+305 MOhm"},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(calculator.Edit(step.box, step.typed).spoken, step.said) << step.name;
  }
  EXPECT_TRUE(StateOf(calculator).txtRVisible);
}

// A tap or a click that gives a box the focus selects the "0" the user is to
// type over, and nothing else: a number keeps the caret where it is put.
TEST(Calculator, PointerFocusSelectsOnlyALoneZero) {
  const struct {
    const char* name;
    const char* separator;
    const char* typed;
    bool selects;
  } rows[] = {
      {"StartUpZero", ".", nullptr, true},   {"CorrectedToZero", ".", "abc", true},
      {"ZeroInACommaLocale", ",", "", true}, {"OneDigit", ".", "5", false},
      {"Number", ".", "47", false},          {"ZeroWithDecimals", ".", "0.0", false},
      {"MinusZero", ".", "-0", false},
  };
  for (const auto& row : rows) {
    Calculator calculator(row.separator, {});
    if (row.typed != nullptr) calculator.Edit(ControlId::txtFreq, row.typed);
    EXPECT_EQ(calculator.SelectsOnPointerFocus(ControlId::txtFreq), row.selects) << row.name;
    EXPECT_TRUE(calculator.SelectsOnPointerFocus(ControlId::txtC)) << row.name;
    EXPECT_FALSE(calculator.SelectsOnPointerFocus(ControlId::txtR)) << row.name;
  }
}

struct UnitRow {
  const char* name;
  ControlId list;
  int item;
  const char* said;
  const char* cboC;
  const char* cboFreq;
};

// A choice sets its own list's unit and recomputes: the unit is said, with
// the figure when it changed. From 100 pF at 1 Hz.
const UnitRow kUnits[] = {
    {"CapacitanceList", ControlId::cboC, 1, "nF, 1.592 MOhm", "nF", "Hz"},
    {"FrequencyList", ControlId::cboFreq, 2, "MHz, 1.592 kOhm", "pF", "MHz"},
    {"SameUnitSaysOnlyTheUnit", ControlId::cboFreq, 0, "Hz", "pF", "Hz"},
    {"ItemTheListLacksDoesNothing", ControlId::cboC, 3, "", "pF", "Hz"},
    {"NoItemDoesNothing", ControlId::cboFreq, -1, "", "pF", "Hz"},
    {"ABoxIsNoList", ControlId::txtC, 0, "", "pF", "Hz"},
};

TEST(Calculator, AUnitChoiceSetsItsListAndTellsWhatChanged) {
  for (const UnitRow& row : kUnits) {
    Calculator calculator(".", {});
    calculator.Edit(ControlId::txtC, "100");
    calculator.Edit(ControlId::txtFreq, "1");
    EXPECT_EQ(calculator.ChooseUnit(row.list, row.item), row.said) << row.name;
    EXPECT_EQ(StateOf(calculator).cboC, row.cboC) << row.name;
    EXPECT_EQ(StateOf(calculator).cboFreq, row.cboFreq) << row.name;
  }
}

struct InsertRow {
  const char* name;
  const char* box;  // what the capacitance box holds
  Selection selection;
  std::string_view text;
  std::optional<std::string> inserted;
};

// A paste, a drop or the keypad's separator loses the CR and LF at its two
// ends (blanks, and line breaks inside, stay for the number reader to judge)
// and is cut to the room the box has left over its selection, counted in
// UTF-16 units and never inside a character. Where it would change nothing
// it inserts nothing.
const InsertRow kInserts[] = {
    {"SpreadsheetCell", "0", {0, 1}, "470\n", "470"},
    {"WindowsLineEnds", "0", {0, 1}, "\r\n470\r\n", "470"},
    {"BlankKept", "0", {0, 1}, " 7\r\n", " 7"},
    {"BlankBeforeTheBreakKept", "0", {0, 1}, "470 \n", "470 "},
    {"BreakInsideKept", "0", {0, 1}, "1\n2", "1\n2"},
    {"BreaksOnlyAtTheCaret", "47", {2, 2}, "\r\n\r\n", std::nullopt},
    {"EmptyAtTheCaret", "47", {1, 1}, "", std::nullopt},
    {"BreaksOnlyOverASelection", "47", {0, 2}, "\n", ""},
    {"FullBoxAtTheCaret", "150234", {1, 1}, "9", std::nullopt},
    {"FullBoxAtItsStart", "150234", {0, 0}, "7", std::nullopt},
    {"WhatFitsOfALongerPaste", "1502", {2, 2}, "6789", "67"},
    {"TheSelectionMakesRoom", "150234", {0, 6}, "1234567", "123456"},
    {"PartOfTheSelection", "150234", {2, 4}, "9876", "98"},
    {"BackwardsSelection", "150234", {4, 2}, "9876", "98"},
    {"SelectionBeyondTheText", "1502", {3, 9}, "6789", "678"},
    {"TwoByteCharacterIsOneUnit", "1234", {4, 4}, "\xC2\xB5\xC2\xB5\xC2\xB5", "\xC2\xB5\xC2\xB5"},
    {"CharacterOfTwoUnitsFits", "1234", {4, 4}, "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
    {"CharacterOfTwoUnitsNeverSplit", "12345", {5, 5}, "\xF0\x9F\x98\x80", std::nullopt},
    {"LongPasteKeepsItsStart", "0", {0, 1}, "7777777777777777", "777777"},
};

TEST(Calculator, WhatAnInsertionTakes) {
  for (const InsertRow& row : kInserts) {
    Calculator calculator(".", {});
    calculator.Edit(ControlId::txtC, row.box);
    ASSERT_EQ(StateOf(calculator).txtC(), row.box) << row.name;
    EXPECT_EQ(calculator.Insert(ControlId::txtC, row.text, row.selection), row.inserted)
        << row.name;
  }
  const Calculator calculator(".", {});
  EXPECT_EQ(calculator.Insert(ControlId::txtR, "5", {0, 0}), std::nullopt) << "the read-out";
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
    {"AltGrRIsNotOurs", With(Ctrl(U'R'), &Key::alt), KeyTarget::InputBox, KeyAction::None},
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
  Calculator calculator(",", {});
  calculator.Edit(ControlId::txtC, "100");
  calculator.ChooseUnit(ControlId::cboC, 1);
  calculator.Edit(ControlId::txtFreq, "1");
  calculator.ChooseUnit(ControlId::cboFreq, 1);
  EXPECT_EQ(calculator.Press(Ctrl(U'R'), ControlId::cboFreq).text, "1,592 kOhm");
  EXPECT_EQ(calculator.Press(KeypadDecimal(), ControlId::txtFreq).text, ",");
}

// Escape ends once; after it no key and no edit does anything. Where the
// platform keeps the program running (a browser tab the page may not close),
// the calculator goes on as before.
TEST(Calculator, EscapeEndsWhereThePlatformCan) {
  for (const bool platformEnds : {true, false}) {
    int endCalls = 0;
    Calculator calculator(".", [&] {
      ++endCalls;
      return platformEnds;
    });
    const KeyAction action = calculator.Press(Escape(), ControlId::txtC).action;
    EXPECT_EQ(action, platformEnds ? KeyAction::End : KeyAction::None) << platformEnds;
    calculator.Edit(ControlId::txtC, "1");
    calculator.Edit(ControlId::txtFreq, "1");
    calculator.ChooseUnit(ControlId::cboC, 1);
    EXPECT_EQ(StateOf(calculator).txtR, platformEnds ? "0" : "159.236") << platformEnds;
    EXPECT_EQ(calculator.Press(Ctrl(U'R'), ControlId::txtC).action,
              platformEnds ? KeyAction::End : KeyAction::SpeakResult)
        << platformEnds;
    EXPECT_EQ(calculator.ended(), platformEnds);
    EXPECT_EQ(endCalls, 1) << platformEnds;
  }
}

// What a render shows: the boxes and lists as the user left them (a list by
// the place of its unit), the read-out with its unit and caption, all three
// hidden together while no figure can be computed, and its caret at the
// start of a new figure.
TEST(Calculator, RenderShowsTheStateAndHidesTheReadOutTogether) {
  Calculator calculator(".", {});
  calculator.Edit(ControlId::txtC, "1e-300");
  calculator.Edit(ControlId::txtFreq, "1e-300");
  calculator.ChooseUnit(ControlId::cboFreq, 2);
  const View view = calculator.Render();
  EXPECT_EQ(view.TextOf(ControlId::txtC), "1e-300");
  EXPECT_EQ(view.TextOf(ControlId::cboFreq), "MHz");
  EXPECT_EQ(view.TextOf(ControlId::lblEtichete0), "Velmorida condensatorului:");
  for (const ControlView& control : view.controls) {
    const std::string_view name = layout::RowOf(control.id).name;
    const bool readOutPart = control.id == ControlId::txtR || control.id == ControlId::lblUM ||
                             control.id == ControlId::lblEtichete0;
    EXPECT_EQ(control.visible, !readOutPart) << name;
    const int item = control.id == ControlId::cboFreq ? 2 : control.id == ControlId::cboC ? 0 : -1;
    EXPECT_EQ(control.item, item) << name;
    EXPECT_EQ(control.caretOnNewText, control.id == ControlId::txtR ? Caret::AtStart : Caret::Kept)
        << name;
  }
}

}  // namespace
}  // namespace velmorida
