// The window's rules around an edit that are not the handlers' and not a
// toolkit's: where the caret goes after a correction, what a screen reader is
// told afterwards, what a paste loses at its ends and how much of an
// insertion a box has room for. The calculator's interface applies them;
// nothing here is drawn.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calc/form_state.h"
#include "calc/number_text.h"
#include "window/calculator.h"

namespace velmorida {

// Whether the box holds only the "0" a correction or start-up leaves there,
// which the next digit typed is to replace.
bool HoldsOnlyZero(const FormState& state, InputBox box, const NumberFormat& format);

// Where the caret goes once the box of `box` has taken `typed` and the
// handlers have run: kept where the text stands as typed, the "0" selected
// after a correction to it, at the end after any other correction.
Caret CaretAfter(const FormState& state, InputBox box, std::string_view typed,
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

// How many UTF-16 code units a UTF-8 text takes: one a character, two for
// one beyond the Basic Multilingual Plane; a byte that starts no character
// counts as one.
int Utf16Length(std::string_view text);

// What of `inserted` a box holding `shown` (at most `maxLength` UTF-16 code
// units) takes over `selection`: as much of its start as the room left
// holds, never half a character. Nothing where nothing would change: no
// room, or nothing to insert and no selection to replace.
std::optional<std::string> FittedInsertion(std::string_view shown, std::string_view inserted,
                                           Selection selection, int maxLength);

}  // namespace velmorida
