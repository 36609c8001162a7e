#include "window/handlers.h"

#include <optional>

#include "calc/reactance.h"

namespace velmorida {

Handlers::Handlers(FormState& state, NumberFormat format, EndProgram endProgram)
    : state_(state), format_(std::move(format)), endProgram_(std::move(endProgram)) {
  state_.SetChangeHook([this](InputBox box) {
    if (box == InputBox::Capacitance) {
      txtC_Change();
    } else {
      txtFreq_Change();
    }
  });
}

Handlers::~Handlers() {
  state_.SetChangeHook(nullptr);
}

void Handlers::Form_Load() {
  if (ended_) return;
  state_.SetText(InputBox::Capacitance, NumberToText(0, format_));
  state_.SetText(InputBox::Frequency, NumberToText(0, format_));
  state_.txtR = NumberToText(0, format_);
  state_.cboC = kCapacitanceUnits.front().name;
  state_.cboFreq = kFrequencyUnits.front().name;
  state_.lblUM = kOhm;
  Recompute();
}

// Escape ends the program at once; from then on no handler does anything,
// whatever events are still on their way. The handlers count as ended while
// the platform ends the program, and only stay so where it did.
void Handlers::Form_KeyPress(int characterCode) {
  if (ended_ || characterCode != kEscapeCharacterCode) return;
  ended_ = true;
  if (endProgram_ && !endProgram_()) ended_ = false;
}

void Handlers::txtC_Change() {
  CorrectInputField(InputBox::Capacitance);
}
void Handlers::txtFreq_Change() {
  CorrectInputField(InputBox::Frequency);
}
void Handlers::cboC_Change() {
  Recompute();
}
void Handlers::cboC_Click() {
  Recompute();
}
void Handlers::cboFreq_Change() {
  Recompute();
}
void Handlers::cboFreq_Click() {
  Recompute();
}

// Each step reads the box afresh. A replacement raises the box's change event
// again, and that nested run finishes the work: after "0" it recomputes, after
// a negative value's absolute value it recomputes and so does this run.
void Handlers::CorrectInputField(InputBox box) {
  if (ended_) return;
  // One reading answers both steps: the text does not change between them.
  const std::optional<double> value = ReadNumber(state_.Text(box), format_);
  if (!value) {
    state_.SetText(box, NumberToText(0, format_));
    return;
  }
  if (*value < 0) state_.SetText(box, NumberToText(-*value, format_));
  Recompute();
}

void Handlers::Recompute() {
  if (ended_) return;
  Recalculate(state_, format_);
}

}  // namespace velmorida
