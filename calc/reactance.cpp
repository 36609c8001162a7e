#include "calc/reactance.h"

#include <cmath>
#include <string>
#include <utility>

namespace velmorida {
namespace {

// 2 pi is taken as 6.28 in this calculator, on purpose.
constexpr double kTwoPi = 6.28;
constexpr double kUnitStep = 1000;
constexpr int kOhmDecimals = 5;
constexpr int kScaledDecimals = 3;

// Steps of 1000 from the base unit; a name not in the list is the base unit.
template <std::size_t N>
int StepsOf(std::string_view name, const std::array<Unit, N>& units) {
  for (const Unit& unit : units) {
    if (unit.name == name) return unit.steps;
  }
  return 0;
}

// Each unit step is its own division or multiplication, one after the other,
// never a single one by 10^12: the figures depend on that order.
double CapacitanceInFarads(double value, std::string_view unit) {
  for (int i = StepsOf(unit, kCapacitanceUnits); i > 0; --i) value /= kUnitStep;
  return value;
}

double FrequencyInHertz(double value, std::string_view unit) {
  for (int i = StepsOf(unit, kFrequencyUnits); i > 0; --i) value *= kUnitStep;
  return value;
}

void ShowReadOut(FormState& state, bool visible) {
  state.txtRVisible = visible;
  state.lblUMVisible = visible;
  state.lblEtichete0Visible = visible;
}

// A capacitance that underflows to zero in farads, or a frequency that
// overflows in hertz, has a reactance no double can be trusted to show.
bool LeftTheDoubleRange(double typed, double converted) {
  return (typed != 0 && converted == 0) || !std::isfinite(converted);
}

// The reactance when its value in ohms overflows: the same divisions with the
// two steps up to MOhm taken first. Not finite when even MOhm overflows.
double MegaOhmsWhenOhmsOverflow(double frequency, double capacitance) {
  return 1.0 / kTwoPi / kUnitStep / kUnitStep / frequency / capacitance;
}

void HideUncomputable(FormState& state, const NumberFormat& format) {
  state.txtR = NumberToText(0, format);
  state.lblUM = kOhm;
  ShowReadOut(state, false);
}

// Rounding in MOhm directly, as the rescaling in steps would have to pass
// through a value in ohms that no double holds.
void ShowInMegaOhmsOrHide(FormState& state, const NumberFormat& format, double frequency,
                          double capacitance) {
  const double megaOhms = MegaOhmsWhenOhmsOverflow(frequency, capacitance);
  if (std::isinf(megaOhms)) {
    HideUncomputable(state, format);
    return;
  }
  state.txtR = NumberToText(RoundToDecimals(megaOhms, kScaledDecimals), format);
  state.lblUM = kMegaOhm;
}

double ReadOut(const FormState& state, const NumberFormat& format) {
  return TextToNumber(state.txtR, format);
}

// Writes the figure read from the read-out one unit up.
void WriteScaledDown(FormState& state, const NumberFormat& format, double shown) {
  state.txtR = NumberToText(RoundToDecimals(shown / kUnitStep, kScaledDecimals), format);
}

}  // namespace

void Recalculate(FormState& state, const NumberFormat& format) {
  ShowReadOut(state, true);
  const double typedC = TextToNumber(state.txtC(), format);
  const double capacitance = CapacitanceInFarads(typedC, state.cboC);
  const double typedF = TextToNumber(state.txtFreq(), format);
  const double frequency = FrequencyInHertz(typedF, state.cboFreq);
  // Every road below writes the read-out, so it is not cleared first.

  // A zero input gives a zero read-out, whatever the other input is.
  const bool zeroInput = typedC == 0 || typedF == 0;
  if (!zeroInput &&
      (LeftTheDoubleRange(typedC, capacitance) || LeftTheDoubleRange(typedF, frequency))) {
    HideUncomputable(state, format);
    return;
  }

  std::string readOut = NumberToText(0, format);
  if (capacitance != 0 && frequency != 0) {
    double ohms = 1.0 / kTwoPi;
    ohms = ohms / frequency;
    ohms = ohms / capacitance;
    if (std::isinf(ohms)) {
      ShowInMegaOhmsOrHide(state, format, frequency, capacitance);
      return;
    }
    readOut = NumberToText(RoundToDecimals(ohms, kOhmDecimals), format);
  }
  state.txtR = std::move(readOut);
  ScaleResult(state, format);
}

// Each step works on the figure as the read-out shows it: the read-out is
// read back after each write, and that one reading serves both the test and
// the next step.
void ScaleResult(FormState& state, const NumberFormat& format) {
  double shown = ReadOut(state, format);
  if (shown < kUnitStep) {
    state.lblUM = kOhm;
    return;
  }
  WriteScaledDown(state, format, shown);
  shown = ReadOut(state, format);
  if (shown < kUnitStep) {
    state.lblUM = kKiloOhm;
    return;
  }
  WriteScaledDown(state, format, shown);
  state.lblUM = kMegaOhm;
}

}  // namespace velmorida
