// The core's conversions and one whole keystroke (change event, correction,
// Recalculate, ScaleResult), each beside a baseline from the standard library
// measured in the same run: from_chars and to_chars on the same figures.
#include <benchmark/benchmark.h>

#include <charconv>
#include <string>

#include "calc/number_text.h"
#include "window/handlers.h"

namespace {

using velmorida::FormState;
using velmorida::Handlers;
using velmorida::InputBox;
using velmorida::NumberFormat;

const NumberFormat kDot{"."};
constexpr const char* kReadOut = "1592.35669";
constexpr double kValue = 1592.356687898089;
constexpr double kRoundedValue = 1592.35669;
constexpr int kOhmDecimals = 5;
constexpr int kSignificantDecimals = 14;

void BM_Baseline_FromChars(benchmark::State& state) {
  const std::string text = kReadOut;
  for (auto _ : state) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_Baseline_FromChars);

void BM_IsNumericText(benchmark::State& state) {
  const std::string text = kReadOut;
  for (auto _ : state) benchmark::DoNotOptimize(velmorida::IsNumericText(text, kDot));
}
BENCHMARK(BM_IsNumericText);

void BM_TextToNumber(benchmark::State& state) {
  const std::string text = kReadOut;
  for (auto _ : state) benchmark::DoNotOptimize(velmorida::TextToNumber(text, kDot));
}
BENCHMARK(BM_TextToNumber);

void BM_Baseline_ToChars(benchmark::State& state) {
  double value = kValue;
  for (auto _ : state) {
    char buffer[32];
    benchmark::DoNotOptimize(value);
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                std::chars_format::scientific, kSignificantDecimals);
    benchmark::DoNotOptimize(result.ptr);
  }
}
BENCHMARK(BM_Baseline_ToChars);

// A figure as the read-out gets it, already rounded to five decimals.
void BM_NumberToText(benchmark::State& state) {
  double value = kRoundedValue;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(velmorida::NumberToText(value, kDot));
  }
}
BENCHMARK(BM_NumberToText);

// A figure with all 17 digits, which needs the fixed-precision conversion.
void BM_NumberToText_Unrounded(benchmark::State& state) {
  double value = kValue;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(velmorida::NumberToText(value, kDot));
  }
}
BENCHMARK(BM_NumberToText_Unrounded);

void BM_RoundToDecimals(benchmark::State& state) {
  double value = kValue;
  for (auto _ : state) {
    benchmark::DoNotOptimize(value);
    benchmark::DoNotOptimize(velmorida::RoundToDecimals(value, kOhmDecimals));
  }
}
BENCHMARK(BM_RoundToDecimals);

// A keystroke as the window delivers it: the box takes a new text, which
// raises its change event, corrects and recomputes. Alternating two texts
// makes every assignment a change; 100 nF at 1 kHz goes through kOhm.
void BM_Keystroke(benchmark::State& state) {
  FormState form;
  Handlers handlers(form, kDot, [] { return true; });
  handlers.Form_Load();
  form.cboC = "nF";
  form.cboFreq = "kHz";
  form.SetText(InputBox::Frequency, "1");
  const std::string texts[] = {"100", "1000"};
  std::size_t next = 0;
  for (auto _ : state) {
    form.SetText(InputBox::Capacitance, texts[next]);
    next ^= 1;
    benchmark::DoNotOptimize(form.txtR.data());
  }
}
BENCHMARK(BM_Keystroke);

// The keystroke that needs the most work: a negative entry, corrected and
// recomputed twice, with the read-out rescaled up to MOhm.
void BM_KeystrokeNegativeToMegaOhm(benchmark::State& state) {
  FormState form;
  Handlers handlers(form, kDot, [] { return true; });
  handlers.Form_Load();
  form.SetText(InputBox::Frequency, "1");
  for (auto _ : state) {
    form.SetText(InputBox::Capacitance, "-1");
    benchmark::DoNotOptimize(form.txtR.data());
  }
}
BENCHMARK(BM_KeystrokeNegativeToMegaOhm);

}  // namespace

BENCHMARK_MAIN();
