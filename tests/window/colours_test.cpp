#include "window/colours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <variant>

namespace velmorida::colours {
namespace {

using layout::ControlKind;

// WCAG 2's relative luminance and contrast ratio, written out from the
// standard, so that the colours are measured by its formula and not by numbers
// of their own; 4.5 is the least it asks of ordinary text (level AA).
constexpr double kLeastContrastForText = 4.5;

double RelativeLuminance(layout::Rgb rgb) {
  const auto channel = [](std::uint8_t value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(rgb.red) + 0.7152 * channel(rgb.green) + 0.0722 * channel(rgb.blue);
}

double ContrastRatio(layout::Rgb a, layout::Rgb b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

layout::Rgb Own(const Colour& colour) {
  EXPECT_TRUE(std::holds_alternative<layout::Rgb>(colour));
  return std::holds_alternative<layout::Rgb>(colour) ? std::get<layout::Rgb>(colour)
                                                     : layout::Rgb{};
}

std::optional<DesktopRole> RoleOf(const Colour& colour) {
  if (const auto* role = std::get_if<DesktopRole>(&colour)) return *role;
  return std::nullopt;
}

// In an ordinary theme, light or dark, every text and every selection is
// drawn in the window's own colours, legible against its own background.
TEST(Colours, OrdinaryThemesDrawLegibleOwnColours) {
  for (ControlKind kind : layout::kControlKinds) {
    const ControlColours c = ColoursOf(kind, Contrast::Ordinary);
    EXPECT_GE(ContrastRatio(Own(c.text), Own(c.background)), kLeastContrastForText)
        << static_cast<int>(kind);
    EXPECT_GE(ContrastRatio(Own(c.selectionText), Own(c.selection)), kLeastContrastForText)
        << static_cast<int>(kind);
  }
}

// In a high-contrast mode no colour is the window's own: fields in the
// desktop's field colours, the window and labels in its dialog colours.
TEST(Colours, HighContrastDrawsOnlyDesktopColours) {
  for (ControlKind kind : layout::kControlKinds) {
    const ControlColours c = ColoursOf(kind, Contrast::High);
    const bool field = kind != ControlKind::Label;
    EXPECT_EQ(RoleOf(c.background), field ? DesktopRole::Field : DesktopRole::Face);
    EXPECT_EQ(RoleOf(c.text), field ? DesktopRole::FieldText : DesktopRole::FaceText);
    EXPECT_EQ(RoleOf(c.selection), DesktopRole::Highlight);
    EXPECT_EQ(RoleOf(c.selectionText), DesktopRole::HighlightText);
  }
  EXPECT_EQ(RoleOf(WindowColours(Contrast::High).background), DesktopRole::Face);
}

}  // namespace
}  // namespace velmorida::colours
