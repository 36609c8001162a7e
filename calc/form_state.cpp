#include "calc/form_state.h"

namespace velmorida {
namespace {

// UTF-8 continuation bytes look like 10xxxxxx; every other byte starts a
// character (a stray or invalid byte counts as a character of its own).
constexpr bool StartsCharacter(unsigned char byte) {
  return (byte & 0xC0) != 0x80;
}

}  // namespace

std::string_view FirstChars(std::string_view text, std::size_t maxChars) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (StartsCharacter(static_cast<unsigned char>(text[i])) && characters++ == maxChars) {
      return text.substr(0, i);
    }
  }
  return text;
}

const std::string& FormState::Text(InputBox box) const {
  return box == InputBox::Capacitance ? txtC_ : txtFreq_;
}

void FormState::SetText(InputBox box, std::string_view text) {
  std::string& field = box == InputBox::Capacitance ? txtC_ : txtFreq_;
  const std::string_view kept = FirstChars(text, kInputMaxChars);
  if (field == kept) return;
  field.assign(kept);
  if (changeHook_) changeHook_(box);
}

}  // namespace velmorida
