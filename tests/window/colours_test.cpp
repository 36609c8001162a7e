#include "window/colours.h"

#include <gtest/gtest.h>

#include <optional>
#include <variant>

#include "tests/support/contrast.h"

namespace velmorida::colours {
namespace {

using layout::ControlKind;
using testing::ContrastRatio;
using testing::kLeastContrastForText;

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
