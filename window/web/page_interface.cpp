// The calculator inside the page, reached from the page's script through a
// narrow C interface: the script passes in the user's edits, unit choices,
// pastes and keys, and each call answers with one JSON object: what to show
// (the view), where the caret goes, what to say or to type. Controls are
// named by their ids in the page. Texts cross as UTF-8; a returned text stays
// valid until the next call. Nothing here touches the page but Escape's
// closing of the window.
#include <emscripten/emscripten.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "window/calculator.h"
#include "window/web/json_text.h"

namespace {

using velmorida::Calculator;
using velmorida::CaretAfterEdit;
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

std::string ViewJson() {
  std::string out = "\"view\":[";
  bool first = true;
  for (const velmorida::ControlView& control : TheCalculator()->Render().controls) {
    if (!first) out += ',';
    first = false;
    out += "{\"id\":" + JsonText(velmorida::layout::ControlOf(control.id).name) +
           ",\"text\":" + JsonText(control.text) +
           ",\"visible\":" + (control.visible ? "true" : "false") + '}';
  }
  return out += ']';
}

std::string_view CaretName(CaretAfterEdit caret) {
  switch (caret) {
    case CaretAfterEdit::SelectAll:
      return "selectAll";
    case CaretAfterEdit::AtEnd:
      return "atEnd";
    case CaretAfterEdit::Untouched:
      break;
  }
  return "untouched";
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
  const velmorida::layout::Control* control = velmorida::layout::ControlNamed(name);
  if (control == nullptr) return std::nullopt;
  return control->id;
}

}  // namespace

extern "C" {

// Start-up with the separator of the browser's language.
EMSCRIPTEN_KEEPALIVE void vm_start(const char* decimal) {
  TheCalculator() = std::make_unique<Calculator>(velmorida::NumberFormat{decimal},
                                                 [] { return CloseWindow() != 0; });
}

// {"view":[{"id":"txtC","text":"0","visible":true},...]}
EMSCRIPTEN_KEEPALIVE const char* vm_render() {
  return Hand('{' + ViewJson() + '}');
}

// The box's new text as the user left it: {"caret":..., "said":..., "view":...}.
EMSCRIPTEN_KEEPALIVE const char* vm_edit(const char* control, const char* typed) {
  const std::optional<ControlId> id = ControlNamed(control);
  const std::optional<velmorida::InputBox> box = id ? velmorida::InputBoxAt(*id) : std::nullopt;
  if (!box) return vm_render();
  const velmorida::EditOutcome outcome = TheCalculator()->Edit(*box, typed);
  return Hand("{\"caret\":" + JsonText(CaretName(outcome.caret)) +
              ",\"said\":" + JsonText(outcome.spoken) + ',' + ViewJson() + '}');
}

// The item chosen in a unit list: {"said":..., "view":...}.
EMSCRIPTEN_KEEPALIVE const char* vm_choose_unit(const char* control, int item) {
  const std::optional<ControlId> id = ControlNamed(control);
  const std::optional<velmorida::UnitList> list = id ? velmorida::UnitListAt(*id) : std::nullopt;
  std::string said;
  if (list && item >= 0) said = TheCalculator()->ChooseUnit(*list, static_cast<std::size_t>(item));
  return Hand("{\"said\":" + JsonText(said) + ',' + ViewJson() + '}');
}

// What a paste or drop inserts: {"insert":...}, or {} when nothing happens.
EMSCRIPTEN_KEEPALIVE const char* vm_paste(const char* text, int textSelected) {
  const std::optional<std::string> inserted = TheCalculator()->Paste(text, textSelected != 0);
  return Hand(inserted ? "{\"insert\":" + JsonText(*inserted) + '}' : std::string("{}"));
}

// Whether a box the pointer gives the focus selects its text: 1 or 0.
EMSCRIPTEN_KEEPALIVE int vm_selects_on_pointer_focus(const char* control) {
  const std::optional<ControlId> id = ControlNamed(control);
  const std::optional<velmorida::InputBox> box = id ? velmorida::InputBoxAt(*id) : std::nullopt;
  return box && TheCalculator()->SelectsOnPointerFocus(*box) ? 1 : 0;
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
