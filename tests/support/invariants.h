// What must hold after every event, whatever was typed or pasted: the boxes
// hold short non-negative numbers, the correction nests and writes little, and
// the read-out can be read back with a unit that fits it. Checks only.
#pragma once

#include <string>

#include "calc/form_state.h"
#include "calc/number_text.h"
#include "tests/support/counted_handlers.h"

namespace velmorida::testing {

// Empty when every invariant holds after one event; otherwise what failed.
// `before` and `after` are the handlers' counts around that event.
std::string BrokenInvariant(const FormState& state, const NumberFormat& format,
                            const HandlerCounts& before, const HandlerCounts& after);

}  // namespace velmorida::testing
