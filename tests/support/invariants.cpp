#include "tests/support/invariants.h"

#include <optional>

#include "calc/reactance.h"

namespace velmorida::testing {
namespace {

constexpr int kDeepestNesting = 2;
constexpr int kMostWritesPerEvent = 1;
constexpr double kUnitStep = 1000;
constexpr double kSmallestScaled = 1;  // a step up starts from 1000 of the unit below

// UTF-8 characters: every byte but the continuation bytes starts one.
std::size_t Characters(const std::string& text) {
  std::size_t count = 0;
  for (unsigned char byte : text) count += (byte & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

std::string CheckBox(const char* name, const std::string& text, const NumberFormat& format) {
  if (Characters(text) > FormState::kInputMaxChars) return std::string(name) + " too long: " + text;
  const std::optional<double> value = ReadNumber(text, format);
  if (!value) return std::string(name) + " not numeric: '" + text + "'";
  if (*value < 0) return std::string(name) + " negative: " + text;
  return {};
}

// The unit agrees with the figure: Ohm below 1000, kOhm and MOhm from 1 up
// (they are reached from 1000 of the unit below), only MOhm at 1000 or more.
bool UnitFits(const std::string& unit, double value) {
  if (unit == kOhm) return value >= 0 && value < kUnitStep;
  if (unit == kKiloOhm) return value >= kSmallestScaled && value < kUnitStep;
  if (unit == kMegaOhm) return value >= kSmallestScaled;
  return false;
}

}  // namespace

std::string BrokenInvariant(const FormState& state, const NumberFormat& format,
                            const HandlerCounts& before, const HandlerCounts& after) {
  if (after.deepestNesting > kDeepestNesting) {
    return "nested " + std::to_string(after.deepestNesting) + " deep";
  }
  if (after.correctionWrites - before.correctionWrites > kMostWritesPerEvent) {
    return "corrected " + std::to_string(after.correctionWrites - before.correctionWrites) +
           " times in one event";
  }
  if (auto broken = CheckBox("txtC", state.txtC(), format); !broken.empty()) return broken;
  if (auto broken = CheckBox("txtFreq", state.txtFreq(), format); !broken.empty()) return broken;
  const std::optional<double> readOut = ReadNumber(state.txtR, format);
  if (!readOut) return "read-out not numeric: '" + state.txtR + "'";
  const bool shown = state.txtRVisible;
  if (state.lblUMVisible != shown || state.lblEtichete0Visible != shown) {
    return "read-out, unit and caption not shown together";
  }
  if (!shown) {
    return state.txtR == NumberToText(0, format) ? std::string()
                                                 : "hidden read-out not 0: " + state.txtR;
  }
  if (!UnitFits(state.lblUM, *readOut)) {
    return "unit " + state.lblUM + " does not fit " + state.txtR;
  }
  return {};
}

}  // namespace velmorida::testing
