// Turns the inputs of a FormState (capacitance and frequency with their units)
// into the read-out text and its unit label: X = 1 / (6.28 * f * C), in Ohm,
// kOhm or MOhm. It neither corrects the inputs nor raises any event.
#pragma once

#include <array>
#include <string_view>

#include "calc/form_state.h"
#include "calc/number_text.h"

namespace velmorida {

// A unit of an input list: its name and how many steps of 1000 it lies from
// farads (below) or hertz (above).
struct Unit {
  std::string_view name;
  int steps;
};

// The items of the two unit lists, in list order; start-up picks the first.
inline constexpr std::array<Unit, 3> kCapacitanceUnits = {{{"pF", 4}, {"nF", 3}, {"uF", 2}}};
inline constexpr std::array<Unit, 3> kFrequencyUnits = {{{"Hz", 0}, {"kHz", 1}, {"MHz", 2}}};

inline constexpr std::string_view kOhm = "Ohm";
inline constexpr std::string_view kKiloOhm = "kOhm";
inline constexpr std::string_view kMegaOhm = "MOhm";

// Computes the reactance into the read-out, then calls ScaleResult. A
// reactance beyond the double range even in MOhm leaves "0" in the read-out
// and hides it with its unit and caption until the next input that computes.
void Recalculate(FormState& state, const NumberFormat& format);

// Moves the read-out up to kOhm and MOhm while it reads 1000 or more, working
// each time on the figure as written, and sets the unit label.
void ScaleResult(FormState& state, const NumberFormat& format);

}  // namespace velmorida
