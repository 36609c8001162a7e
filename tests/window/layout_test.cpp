#include "window/layout.h"

#include <gtest/gtest.h>

#include <string_view>

namespace velmorida::layout {
namespace {

struct PixelRow {
  const char* name;
  int twips;
  int dpi;
  int pixels;
};

// Twips become pixels at the monitor's dpi, to the nearest pixel and halves
// away from zero, as MulDiv rounds: a whole 15 twips a pixel holds at 96 dpi
// only.
const PixelRow kPixels[] = {
    {"ClientWidthAt96", 6765, 96, 451},        {"ClientWidthAt144RoundsItsHalfUp", 6765, 144, 677},
    {"BoxWidthAt120RoundsDown", 855, 120, 71}, {"FrameHeightAt120", 2775, 120, 231},
    {"ReadOutHeightAt192", 375, 192, 50},      {"ReadOutHeightAt168RoundsUp", 375, 168, 44},
    {"NegativeHalfAwayFromZero", -5, 144, -1},
};

TEST(Layout, TwipsToPixelsRoundsAsMulDiv) {
  for (const PixelRow& row : kPixels) {
    EXPECT_EQ(TwipsToPixels(row.twips, row.dpi), row.pixels) << row.name;
  }
}

struct FontRow {
  const char* name;
  const Font* font;
  int dpi;
  int pixels;
};

// A font's em in pixels: points of 1/72 inch at the dpi, rounded as MulDiv.
const FontRow kFonts[] = {
    {"TextAt96", &kFont, 96, 13},
    {"TextAt144RoundsItsHalfUp", &kFont, 144, 20},
    {"TextAt192", &kFont, 192, 26},
    {"SignatureAt96", &kSignatureFont, 96, 16},
    {"SignatureAt120", &kSignatureFont, 120, 20},
};

TEST(Layout, FontHeightAtEachDpi) {
  for (const FontRow& row : kFonts) {
    EXPECT_EQ(FontPixels(*row.font, row.dpi), row.pixels) << row.name;
  }
}

bool TakesFocus(const Control& control) {
  return control.kind != ControlKind::Label;
}

// Windows tabs through the controls in z-order, the order they are made in:
// the tab order must be the order of the focusable controls there.
TEST(Layout, TabOrderIsTheZOrderOfTheFocusableControls) {
  std::size_t next = 0;
  for (const Control& control : kControls) {
    if (!TakesFocus(control)) continue;
    ASSERT_LT(next, kTabOrder.size()) << control.name;
    EXPECT_EQ(control.id, kTabOrder[next]) << control.name;
    ++next;
  }
  EXPECT_EQ(next, kTabOrder.size());
}

struct NameRow {
  ControlId control;
  std::string_view name;
};

// A screen reader on Windows names a text box from the label just before it
// in z-order, without the caption's colon.
const NameRow kNames[] = {
    {ControlId::txtC, "Capacitatea condensatorului"},
    {ControlId::txtFreq, "Frecventa de lucru"},
    {ControlId::txtR, "Velmorida condensatorului"},
};

TEST(Layout, EachBoxFollowsItsCaptionInZOrder) {
  for (const NameRow& row : kNames) {
    const Control* previous = nullptr;
    for (const Control& control : kControls) {
      if (control.id == row.control) break;
      previous = &control;
    }
    ASSERT_NE(previous, nullptr) << row.name;
    EXPECT_EQ(previous->kind, ControlKind::Label) << row.name;
    EXPECT_EQ(AccessibleNameOf(previous->caption), row.name);
  }
}

}  // namespace
}  // namespace velmorida::layout
