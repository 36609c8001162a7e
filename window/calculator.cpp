#include "window/calculator.h"

#include "calc/reactance.h"
#include "window/calculator_internals.h"
#include "window/edit_rules.h"
#include "window/handlers.h"

namespace velmorida {
namespace {

using layout::ControlId;

// Ctrl+R speaks the figure with its unit (R for "rezultat").
constexpr char32_t kSpeakResultLetter = U'R';
constexpr char32_t kCaseBit = 0x20;  // between an ASCII letter's two cases

// The box limit is the toolkits' count of the content's own: six characters
// of the digits, signs and separators a number is made of take one UTF-16
// unit each.
static_assert(Calculator::kBoxMaxLength == FormState::kInputMaxChars);

bool IsLetter(char32_t character, char32_t upperCase) {
  return character == upperCase || character == (upperCase | kCaseBit);
}

// The list items are the unit tables' names, in their order.
template <std::size_t N>
constexpr std::array<std::string_view, N> NamesOf(const std::array<Unit, N>& units) {
  std::array<std::string_view, N> names{};
  for (std::size_t i = 0; i < N; ++i) names[i] = units[i].name;
  return names;
}
constexpr auto kCapacitanceItems = NamesOf(kCapacitanceUnits);
constexpr auto kFrequencyItems = NamesOf(kFrequencyUnits);

std::optional<InputBox> InputBoxAt(ControlId id) {
  if (id == ControlId::txtC) return InputBox::Capacitance;
  if (id == ControlId::txtFreq) return InputBox::Frequency;
  return std::nullopt;
}

// The place of the unit in its list, or -1 where none is chosen.
int ItemIndexOf(ControlId list, std::string_view unit) {
  const std::span<const std::string_view> items = Calculator::ItemsOf(list);
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == unit) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

struct Calculator::Core {
  Core(std::string decimalSeparator, EndProgram endProgram)
      : handlers(state, NumberFormat{std::move(decimalSeparator)}, std::move(endProgram)) {}
  FormState state;
  Handlers handlers;
};

const FormState& CalculatorInternals::State(const Calculator& calculator) {
  return calculator.core_->state;
}

// Escape ends whatever else is held. The other keys are the window's only
// without modifiers of their own: Ctrl+Shift+R, AltGr+R (Ctrl+Alt on
// Windows) or a Ctrl with the keypad belong to the system or the control.
KeyAction KeyActionOf(const Key& key, KeyTarget target) {
  if (key.escape) return KeyAction::End;
  if (key.control && !key.shift && !key.alt && !key.meta &&
      IsLetter(key.character, kSpeakResultLetter)) {
    return KeyAction::SpeakResult;
  }
  if (key.keypadDecimal && target == KeyTarget::InputBox && !key.control && !key.alt && !key.meta) {
    return KeyAction::InsertSeparator;
  }
  return KeyAction::None;
}

KeyTarget TargetOf(std::optional<ControlId> focused) {
  return focused && InputBoxAt(*focused) ? KeyTarget::InputBox : KeyTarget::OtherControl;
}

std::string_view View::TextOf(ControlId id) const {
  for (const ControlView& control : controls) {
    if (control.id == id) return control.text;
  }
  return {};
}

Calculator::Calculator(std::string decimalSeparator, EndProgram endProgram)
    : core_(std::make_unique<Core>(std::move(decimalSeparator), std::move(endProgram))) {
  core_->handlers.Form_Load();
}

Calculator::~Calculator() = default;

std::span<const std::string_view> Calculator::ItemsOf(ControlId list) {
  if (list == ControlId::cboC) return kCapacitanceItems;
  if (list == ControlId::cboFreq) return kFrequencyItems;
  return {};
}

// The first control Tab visits, as after any reset.
Focus Calculator::FirstFocus() const {
  const ControlId first = layout::kTabOrder.front();
  const std::optional<InputBox> box = InputBoxAt(first);
  const bool replaced = box && HoldsOnlyZero(core_->state, *box, core_->handlers.format());
  return {first, replaced ? Caret::SelectAll : Caret::Kept};
}

EditOutcome Calculator::Edit(ControlId id, std::string_view typed) {
  const std::optional<InputBox> box = InputBoxAt(id);
  if (!box) return {};
  FormState& state = core_->state;
  const std::string before = SpokenResult(state);
  // The box's text as typed, before the correction, decides the caret.
  const std::string typedText(typed);
  state.SetText(*box, typedText);
  return {CaretAfter(state, *box, typedText, core_->handlers.format()),
          SpokenAfterEdit(state, before)};
}

std::string Calculator::ChooseUnit(ControlId list, int item) {
  const std::span<const std::string_view> items = ItemsOf(list);
  if (item < 0 || static_cast<std::size_t>(item) >= items.size()) return {};
  const std::string_view unit = items[static_cast<std::size_t>(item)];
  FormState& state = core_->state;
  const std::string before = SpokenResult(state);
  if (list == ControlId::cboC) {
    state.cboC = unit;
    core_->handlers.cboC_Click();
  } else {
    state.cboFreq = unit;
    core_->handlers.cboFreq_Click();
  }
  return SpokenAfterUnitChoice(state, unit, before);
}

std::optional<std::string> Calculator::Insert(ControlId id, std::string_view text,
                                              Selection selection) const {
  const std::optional<InputBox> box = InputBoxAt(id);
  if (!box) return std::nullopt;
  return FittedInsertion(core_->state.Text(*box), WithoutEdgeLineBreaks(text), selection,
                         kBoxMaxLength);
}

bool Calculator::SelectsOnPointerFocus(ControlId id) const {
  const std::optional<InputBox> box = InputBoxAt(id);
  return box && HoldsOnlyZero(core_->state, *box, core_->handlers.format());
}

KeyOutcome Calculator::Press(const Key& key, std::optional<ControlId> focused) {
  Handlers& handlers = core_->handlers;
  if (handlers.ended()) return {KeyAction::End, {}};
  switch (KeyActionOf(key, TargetOf(focused))) {
    case KeyAction::End:
      handlers.Form_KeyPress(kEscapeCharacterCode);
      return {handlers.ended() ? KeyAction::End : KeyAction::None, {}};
    case KeyAction::SpeakResult:
      return {KeyAction::SpeakResult, SpokenResult(core_->state)};
    case KeyAction::InsertSeparator:
      return {KeyAction::InsertSeparator, handlers.format().decimal};
    case KeyAction::None:
      break;
  }
  return {};
}

View Calculator::Render() const {
  const FormState& state = core_->state;
  constexpr int kNoItem = -1;
  return {{{
      {ControlId::txtC, state.txtC(), kNoItem, true, Caret::Kept},
      {ControlId::cboC, state.cboC, ItemIndexOf(ControlId::cboC, state.cboC), true, Caret::Kept},
      {ControlId::txtFreq, state.txtFreq(), kNoItem, true, Caret::Kept},
      {ControlId::cboFreq, state.cboFreq, ItemIndexOf(ControlId::cboFreq, state.cboFreq), true,
       Caret::Kept},
      {ControlId::txtR, state.txtR, kNoItem, state.txtRVisible, Caret::AtStart},
      {ControlId::lblUM, state.lblUM, kNoItem, state.lblUMVisible, Caret::Kept},
      {ControlId::lblEtichete0, layout::RowOf(ControlId::lblEtichete0).caption, kNoItem,
       state.lblEtichete0Visible, Caret::Kept},
  }}};
}

bool Calculator::ended() const {
  return core_->handlers.ended();
}

}  // namespace velmorida
