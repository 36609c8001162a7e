#include "window/edit_rules.h"

namespace velmorida {
namespace {

constexpr std::string_view kLineBreaks = "\r\n";
constexpr std::string_view kUnitAndFigure = ", ";

}  // namespace

bool HoldsOnlyZero(const FormState& state, InputBox box, const NumberFormat& format) {
  return state.Text(box) == NumberToText(0, format);
}

CaretAfterEdit CaretAfter(const FormState& state, InputBox box, std::string_view typed,
                          const NumberFormat& format) {
  if (state.Text(box) == typed) return CaretAfterEdit::Untouched;
  return HoldsOnlyZero(state, box, format) ? CaretAfterEdit::SelectAll : CaretAfterEdit::AtEnd;
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

}  // namespace velmorida
