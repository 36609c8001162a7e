// The calculator as every presentation (Qt, Win32, the page) sees it: the one
// set of calls a presentation makes, besides the layout it places and the
// colours it paints. It takes and gives plain data, knows no toolkit and
// shows nothing of the core behind it; a presentation maps its native events
// to these calls and draws what comes back.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "window/layout.h"

namespace velmorida {

// A box's selection, or its caret where start and end meet, in UTF-16 code
// units: the positions of Qt's strings, Windows' wide strings and the
// browser's strings alike.
struct Selection {
  int start = 0;
  int end = 0;
};

// Where a box's caret goes.
enum class Caret {
  Kept,       // where it is: the box holds what the user made of it
  SelectAll,  // the whole text selected, so that the next digit replaces it
  AtEnd,      // after the last character
  AtStart,    // before the first, so that a figure longer than its box shows its start
};

// Where the focus starts, and the caret there.
struct Focus {
  layout::ControlId control;
  Caret caret;
};

// A key as every toolkit can describe it.
struct Key {
  bool control = false;
  bool shift = false;
  bool alt = false;
  bool meta = false;  // the Windows or Command key
  // The key's own character, whatever the modifiers make of it: 'R' or 'r'
  // for the R key, also with Ctrl held; 0 for a key without one.
  char32_t character = 0;
  bool escape = false;
  // The keypad's decimal key while it types (Num Lock on), whatever the
  // keyboard layout prints on it.
  bool keypadDecimal = false;
};

enum class KeyAction {
  None,             // the key goes on to the focused control as usual
  End,              // the program ends (or has ended): the key goes no further
  SpeakResult,      // say the figure with its unit, without moving the focus
  InsertSeparator,  // insert the user's decimal separator (through Insert) instead of the key
};

struct EditOutcome {
  Caret caret = Caret::Kept;
  std::string spoken;  // empty when there is nothing new to say
};

struct KeyOutcome {
  KeyAction action = KeyAction::None;
  std::string text;  // what to say (SpeakResult) or to insert (InsertSeparator)

  // Whether the key goes no further than the window: every key the window
  // acts on.
  bool Consumed() const { return action != KeyAction::None; }
};

// One control as it is to be shown.
struct ControlView {
  layout::ControlId id;
  std::string_view text;  // a box's or the read-out's text, a list's unit, a label's caption
  int item;               // a list's chosen item; -1 for none, and for every other control
  bool visible;
  Caret caretOnNewText;  // where the caret goes when the control is given a new text
};

// Everything a render shows, valid until the next call that changes it.
struct View {
  std::array<ControlView, 7> controls;
  // The text shown in a control of the view; empty for one it leaves out.
  std::string_view TextOf(layout::ControlId id) const;
};

class Calculator {
 public:
  // Ends the program; returns false where the platform keeps it running (a
  // browser tab the page may not close), and the calculator then goes on.
  using EndProgram = std::function<bool()>;

  // The most a box holds, counted as the toolkits count their own limits, in
  // UTF-16 code units: a box refuses a further character typed into it.
  static constexpr int kBoxMaxLength = 6;

  // Starts up with the user's decimal separator; Escape calls `endProgram`.
  Calculator(std::string decimalSeparator, EndProgram endProgram);
  ~Calculator();
  Calculator(const Calculator&) = delete;
  Calculator& operator=(const Calculator&) = delete;

  // The items of a unit list, in list order; none for any other control.
  static std::span<const std::string_view> ItemsOf(layout::ControlId list);

  // The focus at start-up: the capacitance box, its "0" selected so that the
  // first digit typed replaces it.
  Focus FirstFocus() const;

  // A box has taken `typed` from the user: the handlers correct it and
  // recompute. The box then shows View's text, with the caret as returned.
  // A control that is not an input box changes nothing.
  EditOutcome Edit(layout::ControlId box, std::string_view typed);

  // The user has chosen the item at `item` of a unit list; returns what is
  // said. An item the list does not have (a negative one included), or a
  // control that is not a unit list, changes nothing.
  std::string ChooseUnit(layout::ControlId list, int item);

  // What a paste, a drop or the keypad's separator inserts into a box over
  // `selection` (a drop's is the point where it lands): `text` without the
  // line breaks at its ends, cut to the room the box has left, never inside
  // a character. Nothing at all where it would change nothing: a full box,
  // or an empty insertion with no selected text to replace. The box then
  // inserts it as it would insert typed text, and hands its text to Edit.
  std::optional<std::string> Insert(layout::ControlId box, std::string_view text,
                                    Selection selection) const;

  // Whether a box taking the focus from the pointer (a tap, a click) selects
  // its text: only where it holds the "0" that the first digit is to
  // replace, as it is at start-up. A touch screen has no precise caret, and
  // a digit typed beside the "0" would make a figure ten times off.
  bool SelectsOnPointerFocus(layout::ControlId box) const;

  // A key on its way to the focused control, if it is one of the layout's;
  // the window sees it first.
  KeyOutcome Press(const Key& key, std::optional<layout::ControlId> focused);

  View Render() const;

  bool ended() const;

 private:
  // The tests' way in (window/calculator_internals.h).
  friend struct CalculatorInternals;
  struct Core;
  std::unique_ptr<Core> core_;
};

}  // namespace velmorida
