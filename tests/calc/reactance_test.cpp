#include "calc/reactance.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/calc/in_separator.h"

namespace velmorida::testing {
namespace {

struct ReactanceRow {
  const char* name;
  const char* c;
  const char* cUnit;
  const char* f;
  const char* fUnit;
  const char* readOut;
  const char* unit;
  bool shown = true;
};

void ExpectReadOut(const ReactanceRow& row, const NumberFormat& format) {
  FormState state;
  state.SetText(InputBox::Capacitance, row.c);
  state.cboC = row.cUnit;
  state.SetText(InputBox::Frequency, row.f);
  state.cboFreq = row.fUnit;
  Recalculate(state, format);
  EXPECT_EQ(state.txtR, InSeparator(row.readOut, format)) << row.name;
  EXPECT_EQ(state.lblUM, row.unit) << row.name;
  EXPECT_EQ(state.txtRVisible, row.shown) << row.name;
}

// Each figure is rounded to 5 decimals in Ohm, and every step up to kOhm and
// MOhm rounds the figure as written to 3 decimals.
const ReactanceRow kReactance[] = {
    {"NanofaradAtKilohertzInKiloOhm", "100", "nF", "1", "kHz", "1.592", "kOhm"},
    {"MicrofaradAtMains", "10", "uF", "50", "Hz", "318.47134", "Ohm"},
    {"PicofaradAtMegahertz", "470", "pF", "100", "MHz", "3.38799", "Ohm"},
    {"BelowOneOhm", "1", "uF", "1", "MHz", "0.15924", "Ohm"},
    {"NanofaradAtOneHertzInMegaOhm", "1", "nF", "1", "Hz", "159.236", "MOhm"},
    {"ThousandsOfMegaOhmStayInMegaOhm", "1", "pF", "1", "Hz", "159235.669", "MOhm"},
    {"SmallestShownInExponentForm", "999999", "uF", "15924", "Hz", "1E-05", "Ohm"},
    {"ZeroCapacitance", "0", "nF", "1", "kHz", "0", "Ohm"},
    {"ZeroFrequency", "100", "nF", "0", "MHz", "0", "Ohm"},
    {"MinusZeroCountsAsZero", "-0", "pF", "5", "Hz", "0", "Ohm"},
    {"BelowHalfTheLastDecimalIsZero", "999999", "uF", "999999", "MHz", "0", "Ohm"},
    {"UnknownCapacitanceUnitIsFarads", "1", "F", "1", "Hz", "0.15924", "Ohm"},
    {"UnknownFrequencyUnitIsHertz", "1", "uF", "1", "GHz", "159.236", "kOhm"},
    {"UnitsAreCaseSensitive", "1", "UF", "1", "mhz", "0.15924", "Ohm"},
};

// A reactance whose ohms overflow is shown in MOhm; one beyond even that, or
// one whose inputs leave the double range in farads or hertz, is hidden.
const ReactanceRow kOverflow[] = {
    {"OhmsOverflowShownInMegaOhm", "1e-298", "pF", "1", "Hz", "1.59235668789809E+303", "MOhm",
     true},
    {"RoundingStepOverflowStillScales", "1e-298", "pF", "10", "Hz", "1.59235668789809E+302", "MOhm",
     true},
    {"MegaOhmOverflowHidden", "1e-300", "pF", "1e-300", "Hz", "0", "Ohm", false},
    {"FrequencyOverflowsInHertz", "1", "pF", "9e307", "MHz", "0", "Ohm", false},
    {"CapacitanceUnderflowsInFarads", "1e-320", "pF", "1", "Hz", "0", "Ohm", false},
    {"ZeroBeatsOverflowingFrequency", "0", "pF", "9e307", "MHz", "0", "Ohm", true},
    {"ZeroBeatsUnderflowingCapacitance", "1e-320", "pF", "0", "Hz", "0", "Ohm", true},
};

TEST(Recalculate, ReadOutAndUnitUnderEitherSeparator) {
  for (const NumberFormat& format : {kDot, kComma}) {
    for (const auto& row : kReactance) ExpectReadOut(row, format);
    for (const auto& row : kOverflow) ExpectReadOut(row, format);
  }
}

struct ScaleRow {
  const char* name;
  const char* readOut;
  const char* scaled;
  const char* unit;
};

// 1000 or more moves up one unit; each step reads the figure as written.
const ScaleRow kScaling[] = {
    {"JustBelowAThousand", "999.99999", "999.99999", "Ohm"},
    {"ExactlyAThousandOhm", "1000", "1", "kOhm"},
    {"ExactlyAThousandKiloOhm", "1000000", "1", "MOhm"},
    {"RoundsUpIntoAThousandKiloOhm", "999999.6", "1", "MOhm"},
    {"StaysInKiloOhm", "999999.4", "999.999", "kOhm"},
    {"MegaOhmFromRoundedKiloOhm", "159235668.78981", "159.236", "MOhm"},
    {"NothingAboveMegaOhm", "1E+20", "100000000000000", "MOhm"},
};

TEST(ScaleResult, StepsUpAtAThousandWorkingOnTheWrittenFigure) {
  for (const auto& row : kScaling) {
    FormState state;
    state.txtR = row.readOut;
    ScaleResult(state, kDot);
    EXPECT_EQ(state.txtR, row.scaled) << row.name;
    EXPECT_EQ(state.lblUM, row.unit) << row.name;
  }
}

}  // namespace
}  // namespace velmorida::testing
