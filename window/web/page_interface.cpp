// The calculator's state and handlers inside the page, reached from the
// page's script through a narrow C interface: the script passes in the
// user's edits, unit choices and keys, and reads back what to show, where the
// caret goes and what to announce. Texts cross as UTF-8; a returned text
// stays valid until the next call. Nothing here touches the page.
#include <emscripten/emscripten.h>

#include <memory>
#include <string>

#include "calc/form_state.h"
#include "window/edit_rules.h"
#include "window/handlers.h"
#include "window/web/calculator_page.h"

namespace {

using velmorida::FormState;
using velmorida::Handlers;
using velmorida::InputBox;

// What the script reads by number; the same numbers are in page.js.
enum class Field { txtC, cboC, txtFreq, cboFreq, txtR, lblUM };
enum class Shown { txtR, lblUM, lblEtichete0 };

struct Calculator {
  FormState state;
  std::unique_ptr<Handlers> handlers;
  std::string said;      // what to announce after the last edit or choice
  std::string returned;  // the last text handed to the script
};

Calculator& TheCalculator() {
  static Calculator calculator;
  return calculator;
}

const char* Hand(std::string text) {
  Calculator& calculator = TheCalculator();
  calculator.returned = std::move(text);
  return calculator.returned.c_str();
}

InputBox BoxOf(int box) {
  return box == 0 ? InputBox::Capacitance : InputBox::Frequency;
}

}  // namespace

extern "C" {

// Start-up with the separator of the browser's language.
EMSCRIPTEN_KEEPALIVE void vm_start(const char* decimal) {
  Calculator& calculator = TheCalculator();
  // A page cannot always close its tab; Escape ends the handlers only when
  // the page has closed it (see page.js), so nothing is left to do here.
  calculator.handlers =
      std::make_unique<Handlers>(calculator.state, velmorida::NumberFormat{decimal}, [] {});
  calculator.handlers->Form_Load();
}

EMSCRIPTEN_KEEPALIVE const char* vm_layout() {
  return Hand(velmorida::web::PageLayoutJson());
}

EMSCRIPTEN_KEEPALIVE const char* vm_stylesheet() {
  return Hand(velmorida::web::PageStylesheet());
}

// The box's new text as the user left it; returns where the caret goes
// (0 untouched, 1 all selected, 2 at the end).
EMSCRIPTEN_KEEPALIVE int vm_edit(int box, const char* typed) {
  Calculator& calculator = TheCalculator();
  const std::string before = velmorida::SpokenResult(calculator.state);
  calculator.state.SetText(BoxOf(box), typed);
  calculator.said = velmorida::SpokenAfterEdit(calculator.state, before);
  return static_cast<int>(
      velmorida::CaretAfter(calculator.state, BoxOf(box), typed, calculator.handlers->format()));
}

// A unit chosen in list 0 (capacitance) or 1 (frequency).
EMSCRIPTEN_KEEPALIVE void vm_choose_unit(int list, const char* unit) {
  Calculator& calculator = TheCalculator();
  const std::string before = velmorida::SpokenResult(calculator.state);
  if (list == 0) {
    calculator.state.cboC = unit;
    calculator.handlers->cboC_Click();
  } else {
    calculator.state.cboFreq = unit;
    calculator.handlers->cboFreq_Click();
  }
  calculator.said = velmorida::SpokenAfterUnitChoice(calculator.state, unit, before);
}

// A key's character code; returns whether the handlers have ended.
EMSCRIPTEN_KEEPALIVE int vm_key(int characterCode) {
  Calculator& calculator = TheCalculator();
  calculator.handlers->Form_KeyPress(characterCode);
  return calculator.handlers->ended() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* vm_field(int field) {
  const FormState& state = TheCalculator().state;
  switch (static_cast<Field>(field)) {
    case Field::txtC:
      return state.txtC().c_str();
    case Field::cboC:
      return state.cboC.c_str();
    case Field::txtFreq:
      return state.txtFreq().c_str();
    case Field::cboFreq:
      return state.cboFreq.c_str();
    case Field::txtR:
      return state.txtR.c_str();
    case Field::lblUM:
      break;
  }
  return state.lblUM.c_str();
}

EMSCRIPTEN_KEEPALIVE int vm_shown(int control) {
  const FormState& state = TheCalculator().state;
  switch (static_cast<Shown>(control)) {
    case Shown::txtR:
      return state.txtRVisible;
    case Shown::lblUM:
      return state.lblUMVisible;
    case Shown::lblEtichete0:
      break;
  }
  return state.lblEtichete0Visible;
}

EMSCRIPTEN_KEEPALIVE const char* vm_said() {
  return TheCalculator().said.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* vm_spoken_result() {
  return Hand(velmorida::SpokenResult(TheCalculator().state));
}

EMSCRIPTEN_KEEPALIVE const char* vm_pasted(const char* text) {
  return Hand(std::string(velmorida::WithoutEdgeLineBreaks(text)));
}

EMSCRIPTEN_KEEPALIVE const char* vm_keypad_decimal() {
  return Hand(std::string(velmorida::KeypadDecimalText(TheCalculator().handlers->format())));
}

}  // extern "C"
