// The calculator inside the page, reached from the page's script through a
// narrow C interface: the script passes in the user's edits, unit choices,
// insertions and keys, and each call answers with one JSON object: what to
// show (the view), where the focus or the caret goes, what to say or to
// insert. Controls are named by their ids in the page; positions in a box
// are the browser's, UTF-16 code units. Texts cross as UTF-8; a returned text
// stays valid until the next call. Nothing here touches the page but
// Escape's closing of the window.
#include <emscripten/emscripten.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "window/calculator.h"
#include "window/web/json_text.h"

namespace {

using velmorida::Calculator;
using velmorida::Caret;
using velmorida::KeyAction;
using velmorida::layout::ControlId;
using velmorida::web::JsonText;

// A page may close only a window a script opened; elsewhere the calculator
// stays and goes on.
EM_JS(int, CloseWindow, (), {
  window.close();
  return window.closed ? 1 : 0;
});

std::unique_ptr<Calculator>& TheCalculator() {
  static std::unique_ptr<Calculator> calculator;
  return calculator;
}

const char* Hand(std::string text) {
  static std::string returned;
  returned = std::move(text);
  return returned.c_str();
}

std::string_view CaretName(Caret caret) {
  switch (caret) {
    case Caret::SelectAll:
      return "selectAll";
    case Caret::AtEnd:
      return "atEnd";
    case Caret::AtStart:
      return "atStart";
    case Caret::Kept:
      break;
  }
  return "kept";
}

std::string ViewJson() {
  std::string out = "\"view\":[";
  bool first = true;
  for (const velmorida::ControlView& control : TheCalculator()->Render().controls) {
    if (!first) out += ',';
    first = false;
    out += "{\"id\":" + JsonText(velmorida::layout::RowOf(control.id).name) +
           ",\"text\":" + JsonText(control.text) + ",\"item\":" + std::to_string(control.item) +
           ",\"visible\":" + (control.visible ? "true" : "false") +
           ",\"caret\":" + JsonText(CaretName(control.caretOnNewText)) + '}';
  }
  return out += ']';
}

std::string_view ActionName(KeyAction action) {
  switch (action) {
    case KeyAction::End:
      return "end";
    case KeyAction::SpeakResult:
      return "speak";
    case KeyAction::InsertSeparator:
      return "insert";
    case KeyAction::None:
      break;
  }
  return "none";
}

std::optional<ControlId> ControlNamed(std::string_view name) {
  const velmorida::layout::Control* control = velmorida::layout::RowNamed(name);
  if (control == nullptr) return std::nullopt;
  return control->id;
}

}  // namespace

extern "C" {

// Start-up with the separator of the browser's language:
// {"focus":"txtC","caret":"selectAll","view":[...]}.
EMSCRIPTEN_KEEPALIVE const char* vm_start(const char* decimal) {
  TheCalculator() = std::make_unique<Calculator>(decimal, [] { return CloseWindow() != 0; });
  const velmorida::Focus focus = TheCalculator()->FirstFocus();
  return Hand("{\"focus\":" + JsonText(velmorida::layout::RowOf(focus.control).name) +
              ",\"caret\":" + JsonText(CaretName(focus.caret)) + ',' + ViewJson() + '}');
}

// {"view":[{"id":"txtC","text":"0","item":-1,"visible":true,"caret":"kept"},...]}
EMSCRIPTEN_KEEPALIVE const char* vm_render() {
  return Hand('{' + ViewJson() + '}');
}

// The box's new text as the user left it: {"caret":..., "said":..., "view":...}.
EMSCRIPTEN_KEEPALIVE const char* vm_edit(const char* control, const char* typed) {
  const std::optional<ControlId> id = ControlNamed(control);
  if (!id) return vm_render();
  const velmorida::EditOutcome outcome = TheCalculator()->Edit(*id, typed);
  return Hand("{\"caret\":" + JsonText(CaretName(outcome.caret)) +
              ",\"said\":" + JsonText(outcome.spoken) + ',' + ViewJson() + '}');
}

// The item chosen in a unit list: {"said":..., "view":...}.
EMSCRIPTEN_KEEPALIVE const char* vm_choose_unit(const char* control, int item) {
  const std::optional<ControlId> id = ControlNamed(control);
  const std::string said = id ? TheCalculator()->ChooseUnit(*id, item) : std::string();
  return Hand("{\"said\":" + JsonText(said) + ',' + ViewJson() + '}');
}

// What a paste, a drop or the keypad's separator inserts into a box over the
// selection from `start` to `end`: {"insert":...}, or {} when nothing changes.
EMSCRIPTEN_KEEPALIVE const char* vm_insert(const char* control, const char* text, int start,
                                           int end) {
  const std::optional<ControlId> id = ControlNamed(control);
  const std::optional<std::string> inserted =
      id ? TheCalculator()->Insert(*id, text, {start, end}) : std::nullopt;
  return Hand(inserted ? "{\"insert\":" + JsonText(*inserted) + '}' : std::string("{}"));
}

// Whether a box the pointer gives the focus selects its text: 1 or 0.
EMSCRIPTEN_KEEPALIVE int vm_selects_on_pointer_focus(const char* control) {
  const std::optional<ControlId> id = ControlNamed(control);
  return id && TheCalculator()->SelectsOnPointerFocus(*id) ? 1 : 0;
}

// A key on its way to the focused element, named by its id: {"action":..., "text":...,
// "consumed":...}, consumed when it is to go no further.
EMSCRIPTEN_KEEPALIVE const char* vm_key(int control, int shift, int alt, int meta, int character,
                                        int escape, int keypadDecimal, const char* focused) {
  velmorida::Key key;
  key.control = control != 0;
  key.shift = shift != 0;
  key.alt = alt != 0;
  key.meta = meta != 0;
  key.character = character > 0 ? static_cast<char32_t>(character) : 0;
  key.escape = escape != 0;
  key.keypadDecimal = keypadDecimal != 0;
  const velmorida::KeyOutcome outcome = TheCalculator()->Press(key, ControlNamed(focused));
  return Hand("{\"action\":" + JsonText(ActionName(outcome.action)) +
              ",\"text\":" + JsonText(outcome.text) +
              ",\"consumed\":" + (outcome.Consumed() ? "true" : "false") + '}');
}

}  // extern "C"
