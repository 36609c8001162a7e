// The calculator as every presentation (Qt, Win32, the page) sees it, and
// the only part of the window's rules a presentation calls: start-up, an
// edit of a box, a unit chosen, a paste or drop, a key, and the state to
// show. It takes and gives plain data and knows no toolkit; a presentation
// maps its native events to these calls and draws what comes back.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "calc/form_state.h"
#include "calc/number_text.h"
#include "window/edit_rules.h"
#include "window/handlers.h"
#include "window/layout.h"

namespace velmorida {

// The user's decimal separator. One declaration, one definition per
// presentation: Qt's system locale on Linux, the regional settings on
// Windows, the browser's language in the page.
NumberFormat SystemNumberFormat();

enum class UnitList { Capacitance, Frequency };

// The control that shows a box or a list, and the box or list a control
// shows (nothing for the read-out and the labels).
layout::ControlId ControlOf(InputBox box);
layout::ControlId ControlOf(UnitList list);
std::optional<InputBox> InputBoxAt(layout::ControlId id);
std::optional<UnitList> UnitListAt(layout::ControlId id);

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

// Where the focus is when the key arrives.
enum class KeyTarget { InputBox, OtherControl };

// The target of a key for the control that has the focus: nothing where the
// focus is in none of the layout's controls (an open list's popup).
KeyTarget TargetOf(std::optional<layout::ControlId> focused);

enum class KeyAction {
  None,             // the key goes on to the focused control as usual
  End,              // the program ends (or has ended): the key goes no further
  SpeakResult,      // say the figure with its unit, without moving the focus
  InsertSeparator,  // type the user's decimal separator instead of the key
};

// What a key means in the window, wherever it comes from.
KeyAction KeyActionOf(const Key& key, KeyTarget target);

struct EditOutcome {
  CaretAfterEdit caret;
  std::string spoken;  // empty when there is nothing new to say
};

struct KeyOutcome {
  KeyAction action = KeyAction::None;
  std::string text;  // what to say (SpeakResult) or to type (InsertSeparator)

  // Whether the key goes no further than the window: every key the window
  // acts on.
  bool Consumed() const { return action != KeyAction::None; }
};

// One control as it is to be shown.
struct ControlView {
  layout::ControlId id;
  std::string_view text;  // a box's or the read-out's text, a list's unit, a label's caption
  bool visible;
};

// Everything a render shows, valid until the next call that changes it.
struct View {
  std::array<ControlView, 7> controls;
  // The text shown in a control of the view; empty for one it leaves out.
  std::string_view TextOf(layout::ControlId id) const;
};

class Calculator {
 public:
  using EndProgram = Handlers::EndProgram;

  // Starts up with the user's separator; Escape calls `endProgram`.
  Calculator(NumberFormat format, EndProgram endProgram);
  Calculator(const Calculator&) = delete;
  Calculator& operator=(const Calculator&) = delete;

  // The box has taken `typed` from the user: the handlers correct it and
  // recompute. The box then shows View's text, with the caret as returned.
  EditOutcome Edit(InputBox box, std::string_view typed);

  // The user has chosen the item at `item` of a unit list; returns what is
  // said. An item the list does not have changes nothing.
  std::string ChooseUnit(UnitList list, std::size_t item);

  // What a paste or a drop of `text` inserts, over the selection or at the
  // caret as the box itself would; nothing at all when the paste is empty
  // and no selected text would be replaced.
  std::optional<std::string> Paste(std::string_view text, bool textSelected) const;

  // Whether a box taking the focus from the pointer (a tap, a click) selects
  // its text: only where it holds the "0" that the first digit is to
  // replace, as it is at start-up. A touch screen has no precise caret, and
  // a digit typed beside the "0" would make a figure ten times off.
  bool SelectsOnPointerFocus(InputBox box) const;

  // A key on its way to the focused control, if it is one of the layout's;
  // the window sees it first.
  KeyOutcome Press(const Key& key, std::optional<layout::ControlId> focused);

  View Render() const;

  bool ended() const { return handlers_.ended(); }
  const FormState& state() const { return state_; }

 private:
  FormState state_;
  Handlers handlers_;
};

}  // namespace velmorida
