#include "window/colours.h"

#include <gtest/gtest.h>

#include <cmath>

namespace velmorida::colours {
namespace {

using layout::ControlKind;

// WCAG 2's relative luminance and contrast ratio, written out here so that
// the rule is measured by the standard's formula, not by its own numbers.
double Channel(std::uint8_t value) {
  const double c = value / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double Luminance(layout::Rgb rgb) {
  return 0.2126 * Channel(rgb.red) + 0.7152 * Channel(rgb.green) + 0.0722 * Channel(rgb.blue);
}
double Contrast(layout::Rgb a, layout::Rgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

constexpr double kLeastForText = 4.5;

struct KindRow {
  const char* name;
  ControlKind kind;
};
const KindRow kKinds[] = {
    {"Label", ControlKind::Label},
    {"InputBox", ControlKind::InputBox},
    {"UnitList", ControlKind::UnitList},
    {"ReadOut", ControlKind::ReadOut},
};

// In an ordinary theme, light or dark, every text and every selection is
// drawn in the window's own colours, legible against its own background.
TEST(Colours, OrdinaryThemesDrawLegibleOwnColours) {
  for (const KindRow& row : kKinds) {
    const ControlColours c = ColoursOf(row.kind, Contrast::Ordinary);
    for (const Colour* colour : {&c.background, &c.text, &c.selection, &c.selectionText}) {
      EXPECT_FALSE(colour->fromDesktop) << row.name;
    }
    EXPECT_GE(Contrast(c.text.own, c.background.own), kLeastForText) << row.name;
    EXPECT_GE(Contrast(c.selectionText.own, c.selection.own), kLeastForText) << row.name;
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
    const layout::Rgb got = ColoursOf(row.kind, Contrast::Ordinary).background.own;
    EXPECT_EQ(got.red, row.rgb.red) << row.name;
    EXPECT_EQ(got.green, row.rgb.green) << row.name;
    EXPECT_EQ(got.blue, row.rgb.blue) << row.name;
  }
}

// In a high-contrast mode no colour is the window's own: fields in the
// desktop's field colours, the window and labels in its dialog colours.
TEST(Colours, HighContrastDrawsOnlyDesktopColours) {
  for (const KindRow& row : kKinds) {
    const ControlColours c = ColoursOf(row.kind, Contrast::High);
    const bool field = row.kind != ControlKind::Label;
    ASSERT_TRUE(c.background.fromDesktop && c.text.fromDesktop && c.selection.fromDesktop &&
                c.selectionText.fromDesktop)
        << row.name;
    EXPECT_EQ(c.background.role, field ? DesktopRole::Field : DesktopRole::Face) << row.name;
    EXPECT_EQ(c.text.role, field ? DesktopRole::FieldText : DesktopRole::FaceText) << row.name;
    EXPECT_EQ(c.selection.role, DesktopRole::Highlight) << row.name;
    EXPECT_EQ(c.selectionText.role, DesktopRole::HighlightText) << row.name;
  }
  EXPECT_EQ(WindowColours(Contrast::High).background.role, DesktopRole::Face);
}

}  // namespace
}  // namespace velmorida::colours
