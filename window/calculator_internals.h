// What the tests see behind the calculator's interface, which no presentation
// includes: the content the calculator holds, and the meaning of a key where
// the focus is. The calculator's own implementation is built on these.
#pragma once

#include <optional>

#include "calc/form_state.h"
#include "window/calculator.h"
#include "window/layout.h"

namespace velmorida {

struct CalculatorInternals {
  static const FormState& State(const Calculator& calculator);
};

// Where the focus is when a key arrives.
enum class KeyTarget { InputBox, OtherControl };

// The target of a key for the control that has the focus: nothing where the
// focus is in none of the layout's controls (an open list's popup).
KeyTarget TargetOf(std::optional<layout::ControlId> focused);

// What a key means in the window, wherever it comes from.
KeyAction KeyActionOf(const Key& key, KeyTarget target);

}  // namespace velmorida
