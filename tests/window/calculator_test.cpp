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

// A tap or a click that gives a box the focus selects the "0" the user is to
// type over, and nothing else: a number keeps the caret where it is put.
TEST(Calculator, PointerFocusSelectsOnlyALoneZero) {
  const struct {
    const char* name;
    const char* separator;
    const char* typed;
    bool selects;
  } rows[] = {
      {"CorrectedToZero", ".", "abc", true}, {"ZeroInACommaLocale", ",", "", true},
      {"Number", ".", "47", false},          {"ZeroWithDecimals", ".", "0.0", false},
      {"MinusZero", ".", "-0", false},
  };
  for (const auto& row : rows) {
    Calculator calculator(row.separator, {});
    calculator.Edit(ControlId::txtFreq, row.typed);
    EXPECT_EQ(calculator.SelectsOnPointerFocus(ControlId::txtFreq), row.selects) << row.name;
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
// the figure when it changed; an item no list has, which no user can choose,
// changes nothing. From 100 pF at 1 Hz.
const UnitRow kUnits[] = {
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
    {"BlankBeforeTheBreakKept", "0", {0, 1}, "470 \n", "470 "},
    {"BreaksOnlyAtTheCaret", "47", {2, 2}, "\r\n\r\n", std::nullopt},
    {"EmptyAtTheCaret", "47", {1, 1}, "", std::nullopt},
    {"FullBoxAtItsStart", "150234", {0, 0}, "7", std::nullopt},
    {"PartOfTheSelection", "150234", {2, 4}, "9876", "98"},
    {"BackwardsSelection", "150234", {4, 2}, "9876", "98"},
    {"SelectionBeyondTheText", "1502", {3, 9}, "6789", "678"},
    {"TwoByteCharacterIsOneUnit", "1234", {4, 4}, "\xC2\xB5\xC2\xB5\xC2\xB5", "\xC2\xB5\xC2\xB5"},
    {"CharacterOfTwoUnitsFits", "1234", {4, 4}, "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
    {"CharacterOfTwoUnitsNeverSplit", "12345", {5, 5}, "\xF0\x9F\x98\x80", std::nullopt},
};

TEST(Calculator, WhatAnInsertionTakes) {
  for (const InsertRow& row : kInserts) {
    Calculator calculator(".", {});
    calculator.Edit(ControlId::txtC, row.box);
    ASSERT_EQ(StateOf(calculator).txtC(), row.box) << row.name;
    EXPECT_EQ(calculator.Insert(ControlId::txtC, row.text, row.selection), row.inserted)
        << row.name;
  }
  Calculator calculator(".", {});
  EXPECT_EQ(calculator.Insert(ControlId::txtR, "5", {0, 0}), std::nullopt) << "the read-out";
  calculator.Edit(ControlId::txtR, "5");
  EXPECT_EQ(StateOf(calculator).txtR, "0") << "the read-out is no input";
}

Key Ctrl(char32_t character) {
  return {.control = true, .character = character};
}

Key With(Key key, bool Key::*modifier) {
  key.*modifier = true;
  return key;
}

constexpr Key kEscape{.escape = true};
constexpr Key kKeypadDecimal{.character = U'.', .keypadDecimal = true};

struct KeyRow {
  const char* name;
  Key key;
  KeyTarget target;
  KeyAction action;
};

// Ctrl+R alone speaks, Escape ends from anywhere, and the keypad's decimal
// key types the separator in an input box only; other keys go on as usual.
// The keys the behaviour table presses (Ctrl+R, Escape, ...) are its own.
const KeyRow kKeys[] = {
    {"CtrlLowerRSpeaks", Ctrl(U'r'), KeyTarget::InputBox, KeyAction::SpeakResult},
    {"CtrlMetaRIsNotOurs", With(Ctrl(U'R'), &Key::meta), KeyTarget::InputBox, KeyAction::None},
    {"RAloneIsTyped", Key{.character = U'r'}, KeyTarget::InputBox, KeyAction::None},
    {"CtrlOtherLetter", Ctrl(U'S'), KeyTarget::InputBox, KeyAction::None},
    {"ShiftEscape", With(kEscape, &Key::shift), KeyTarget::OtherControl, KeyAction::End},
    {"ShiftKeypadDecimalInABox", With(kKeypadDecimal, &Key::shift), KeyTarget::InputBox,
     KeyAction::InsertSeparator},
    {"KeypadDecimalElsewhere", kKeypadDecimal, KeyTarget::OtherControl, KeyAction::None},
    {"CtrlKeypadDecimal", With(kKeypadDecimal, &Key::control), KeyTarget::InputBox,
     KeyAction::None},
    {"AltKeypadDecimal", With(kKeypadDecimal, &Key::alt), KeyTarget::InputBox, KeyAction::None},
};

TEST(Calculator, WhatEachKeyMeans) {
  for (const KeyRow& row : kKeys) {
    EXPECT_EQ(KeyActionOf(row.key, row.target), row.action) << row.name;
  }
}

// Only the two input boxes take the keypad's separator: not the read-out,
// not a list, not an open list's popup, which is none of the layout's.
TEST(Calculator, KeysGoToTheInputBoxesOnly) {
  EXPECT_EQ(TargetOf(ControlId::txtR), KeyTarget::OtherControl);
  EXPECT_EQ(TargetOf(ControlId::cboC), KeyTarget::OtherControl);
  EXPECT_EQ(TargetOf(std::nullopt), KeyTarget::OtherControl);
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
    const KeyAction action = calculator.Press(kEscape, ControlId::txtC).action;
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

}  // namespace
}  // namespace velmorida
