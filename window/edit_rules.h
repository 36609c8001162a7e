// The window's rules around an edit that are not the handlers' and not a
// toolkit's: where the caret goes after a correction, what a screen reader is
// told afterwards, and what a paste loses at its ends. The calculator's
// interface (calculator.h) applies them; nothing here is drawn.
#pragma once

#include <string>
#include <string_view>

#include "calc/form_state.h"
#include "calc/number_text.h"

namespace velmorida {

enum class CaretAfterEdit {
  Untouched,  // the box holds what was typed: the caret stays where it is
  SelectAll,  // corrected to "0": selected, so the next digit replaces it
  AtEnd,      // corrected to another text: the caret after its last character
};

// Whether the box holds only the "0" a correction or start-up leaves there,
// which the next digit typed is to replace.
bool HoldsOnlyZero(const FormState& state, InputBox box, const NumberFormat& format);

// Where the caret goes once the box of `box` has taken `typed` and the
// handlers have run.
CaretAfterEdit CaretAfter(const FormState& state, InputBox box, std::string_view typed,
                          const NumberFormat& format);

// The figure with its unit, as a screen reader says it ("1.592 kOhm");
// empty while the read-out is hidden.
std::string SpokenResult(const FormState& state);

// What is announced after an edit: the new figure, or nothing when the
// figure did not change. `before` is SpokenResult before the edit.
std::string SpokenAfterEdit(const FormState& state, std::string_view before);

// What is announced after a unit is chosen: the unit, and the new figure
// when it changed ("kHz, 1.592 kOhm").
std::string SpokenAfterUnitChoice(const FormState& state, std::string_view unit,
                                  std::string_view before);

// The text without the line breaks (CR and LF) at its start and its end: a
// cell copied from a spreadsheet arrives as "470\r\n" and reads as 470.
// Blanks stay; the number reader accepts them.
std::string_view WithoutEdgeLineBreaks(std::string_view text);

}  // namespace velmorida
