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

// The green boxes, the yellow read-out and the grey window keep the colours
// they were designed in.
TEST(Colours, OrdinaryBackgroundsAreTheLayouts) {
  const struct {
    const char* name;
    ControlKind kind;
    layout::Rgb rgb;
  } rows[] = {
      {"LabelOnTheWindowGrey", ControlKind::Label, {224, 224, 224}},
      {"InputBoxGreen", ControlKind::InputBox, {192, 255, 192}},
      {"ReadOutYellow", ControlKind::ReadOut, {255, 255, 128}},
  };
  for (const auto& row : rows) {
    const layout::Rgb got = Own(ColoursOf(row.kind, Contrast::Ordinary).background);
    EXPECT_EQ(got.red, row.rgb.red) << row.name;
    EXPECT_EQ(got.green, row.rgb.green) << row.name;
    EXPECT_EQ(got.blue, row.rgb.blue) << row.name;
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
