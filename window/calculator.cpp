#include "window/calculator.h"

#include <span>

namespace velmorida {
namespace {

using layout::ControlId;

// Ctrl+R speaks the figure with its unit (R for "rezultat").
constexpr char32_t kSpeakResultLetter = U'R';
constexpr char32_t kCaseBit = 0x20;  // between an ASCII letter's two cases

bool IsLetter(char32_t character, char32_t upperCase) {
  return character == upperCase || character == (upperCase | kCaseBit);
}

}  // namespace

ControlId ControlOf(InputBox box) {
  return box == InputBox::Capacitance ? ControlId::txtC : ControlId::txtFreq;
}

ControlId ControlOf(UnitList list) {
  return list == UnitList::Capacitance ? ControlId::cboC : ControlId::cboFreq;
}

std::optional<InputBox> InputBoxAt(ControlId id) {
  for (InputBox box : {InputBox::Capacitance, InputBox::Frequency}) {
    if (ControlOf(box) == id) return box;
  }
  return std::nullopt;
}

std::optional<UnitList> UnitListAt(ControlId id) {
  for (UnitList list : {UnitList::Capacitance, UnitList::Frequency}) {
    if (ControlOf(list) == id) return list;
  }
  return std::nullopt;
}

// Escape ends whatever else is held. The other keys are the window's only
// without modifiers of their own: Ctrl+Shift+R or a Ctrl with the keypad
// belong to the system or the control.
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

Calculator::Calculator(NumberFormat format, EndProgram endProgram)
    : handlers_(state_, std::move(format), std::move(endProgram)) {
  handlers_.Form_Load();
}

EditOutcome Calculator::Edit(InputBox box, std::string_view typed) {
  const std::string before = SpokenResult(state_);
  // The box's text as typed, before the correction, decides the caret.
  const std::string typedText(typed);
  state_.SetText(box, typedText);
  return {CaretAfter(state_, box, typedText, handlers_.format()), SpokenAfterEdit(state_, before)};
}

std::string Calculator::ChooseUnit(UnitList list, std::size_t item) {
  const std::span<const Unit> units = layout::UnitsOf(ControlOf(list));
  if (item >= units.size()) return {};
  const std::string_view unit = units[item].name;
  const std::string before = SpokenResult(state_);
  if (list == UnitList::Capacitance) {
    state_.cboC = unit;
    handlers_.cboC_Click();
  } else {
    state_.cboFreq = unit;
    handlers_.cboFreq_Click();
  }
  return SpokenAfterUnitChoice(state_, unit, before);
}

std::optional<std::string> Calculator::Paste(std::string_view text, bool textSelected) const {
  const std::string_view kept = WithoutEdgeLineBreaks(text);
  if (kept.empty() && !textSelected) return std::nullopt;
  return std::string(kept);
}

bool Calculator::SelectsOnPointerFocus(InputBox box) const {
  return HoldsOnlyZero(state_, box, handlers_.format());
}

KeyOutcome Calculator::Press(const Key& key, std::optional<ControlId> focused) {
  if (handlers_.ended()) return {KeyAction::End, {}};
  switch (KeyActionOf(key, TargetOf(focused))) {
    case KeyAction::End:
      handlers_.Form_KeyPress(kEscapeCharacterCode);
      return {handlers_.ended() ? KeyAction::End : KeyAction::None, {}};
    case KeyAction::SpeakResult:
      return {KeyAction::SpeakResult, SpokenResult(state_)};
    case KeyAction::InsertSeparator:
      return {KeyAction::InsertSeparator, handlers_.format().decimal};
    case KeyAction::None:
      break;
  }
  return {};
}

View Calculator::Render() const {
  return {{{
      {ControlId::txtC, state_.txtC(), true},
      {ControlId::cboC, state_.cboC, true},
      {ControlId::txtFreq, state_.txtFreq(), true},
      {ControlId::cboFreq, state_.cboFreq, true},
      {ControlId::txtR, state_.txtR, state_.txtRVisible},
      {ControlId::lblUM, state_.lblUM, state_.lblUMVisible},
      {ControlId::lblEtichete0, layout::ControlOf(ControlId::lblEtichete0).caption,
       state_.lblEtichete0Visible},
  }}};
}

}  // namespace velmorida
