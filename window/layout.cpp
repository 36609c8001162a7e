#include "window/layout.h"

#include <cstdint>
#include <cstdlib>

namespace velmorida::layout {
namespace {

constexpr int kCentipointsPerInch = 72 * 100;
constexpr std::string_view kUnitListSuffix = ", unitate";

// a * b / c to the nearest integer, halves away from zero (c > 0).
int MulDivRounded(int a, int b, int c) {
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = c / 2;
  const std::int64_t rounded = product >= 0 ? (product + half) / c : -((-product + half) / c);
  return static_cast<int>(rounded);
}

std::string_view WithoutColon(std::string_view caption) {
  if (!caption.empty() && caption.back() == ':') caption.remove_suffix(1);
  return caption;
}

}  // namespace

const Control& RowOf(ControlId id) {
  const std::size_t index = IndexOf(id);
  if (index == kControls.size()) std::abort();  // every id has a row
  return kControls[index];
}

const Control* RowNamed(std::string_view name) {
  for (const Control& control : kControls) {
    if (control.name == name) return &control;
  }
  return nullptr;
}

std::string_view Title() {
  std::string_view title = kCaption;
  while (!title.empty() && title.front() == ' ') title.remove_prefix(1);
  while (!title.empty() && title.back() == ' ') title.remove_suffix(1);
  return title;
}

int TwipsToPixels(int twips, int dpi) {
  return MulDivRounded(twips, dpi, kTwipsPerInch);
}

Pixels ToPixels(const Twips& place, int dpi) {
  return {TwipsToPixels(place.left, dpi), TwipsToPixels(place.top, dpi),
          TwipsToPixels(place.width, dpi), TwipsToPixels(place.height, dpi)};
}

int FontPixels(const Font& font, int dpi) {
  return MulDivRounded(font.centipoints, dpi, kCentipointsPerInch);
}

std::string AccessibleNameOf(ControlId id) {
  const Control& control = RowOf(id);
  if (!control.namedBy) return {};
  std::string name(WithoutColon(RowOf(*control.namedBy).caption));
  if (control.kind == ControlKind::UnitList) name.append(kUnitListSuffix);
  return name;
}

}  // namespace velmorida::layout
