#include "window/edit_rules.h"

#include <algorithm>

namespace velmorida {
namespace {

constexpr std::string_view kLineBreaks = "\r\n";
constexpr std::string_view kUnitAndFigure = ", ";

// The lead byte of a UTF-8 sequence tells its length; a character of four
// bytes lies beyond the Basic Multilingual Plane and takes two UTF-16 units.
constexpr unsigned char kTwoByteLead = 0xC0;
constexpr unsigned char kThreeByteLead = 0xE0;
constexpr unsigned char kFourByteLead = 0xF0;
constexpr unsigned char kNoLead = 0xF8;

struct Character {
  std::size_t bytes;
  int utf16Units;
};

Character CharacterAt(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  Character c{1, 1};
  if (lead >= kFourByteLead && lead < kNoLead) {
    c = {4, 2};
  } else if (lead >= kThreeByteLead && lead < kFourByteLead) {
    c = {3, 1};
  } else if (lead >= kTwoByteLead && lead < kThreeByteLead) {
    c = {2, 1};
  }
  c.bytes = std::min(c.bytes, text.size() - at);  // a sequence cut short
  return c;
}

// The longest start of `text` that takes at most `units` UTF-16 code units.
std::string_view FirstUtf16Units(std::string_view text, int units) {
  std::size_t at = 0;
  while (at < text.size()) {
    const Character c = CharacterAt(text, at);
    if (c.utf16Units > units) break;
    units -= c.utf16Units;
    at += c.bytes;
  }
  return text.substr(0, at);
}

}  // namespace

bool HoldsOnlyZero(const FormState& state, InputBox box, const NumberFormat& format) {
  return state.Text(box) == NumberToText(0, format);
}

Caret CaretAfter(const FormState& state, InputBox box, std::string_view typed,
                 const NumberFormat& format) {
  if (state.Text(box) == typed) return Caret::Kept;
  return HoldsOnlyZero(state, box, format) ? Caret::SelectAll : Caret::AtEnd;
}

std::string SpokenResult(const FormState& state) {
  if (!state.txtRVisible) return {};
  return state.txtR + ' ' + state.lblUM;
}

std::string SpokenAfterEdit(const FormState& state, std::string_view before) {
  std::string now = SpokenResult(state);
  return now == before ? std::string() : now;
}

std::string SpokenAfterUnitChoice(const FormState& state, std::string_view unit,
                                  std::string_view before) {
  std::string said(unit);
  const std::string figure = SpokenAfterEdit(state, before);
  if (!figure.empty()) said.append(kUnitAndFigure).append(figure);
  return said;
}

std::string_view WithoutEdgeLineBreaks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kLineBreaks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(kLineBreaks);
  return text.substr(first, last - first + 1);
}

int Utf16Length(std::string_view text) {
  int units = 0;
  for (std::size_t at = 0; at < text.size();) {
    const Character c = CharacterAt(text, at);
    units += c.utf16Units;
    at += c.bytes;
  }
  return units;
}

std::optional<std::string> FittedInsertion(std::string_view shown, std::string_view inserted,
                                           Selection selection, int maxLength) {
  const int length = Utf16Length(shown);
  const int start = std::clamp(std::min(selection.start, selection.end), 0, length);
  const int end = std::clamp(std::max(selection.start, selection.end), 0, length);
  const int room = maxLength - (length - (end - start));
  const std::string_view fitted = FirstUtf16Units(inserted, std::max(room, 0));
  if (fitted.empty() && start == end) return std::nullopt;
  return std::string(fitted);
}

}  // namespace velmorida
