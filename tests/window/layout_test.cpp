#include "window/layout.h"

#include <gtest/gtest.h>

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

// Each box and the read-out come just after the caption that names them: the
// page's document order, in which its phone's column stands and a screen
// reader reads it line by line.
TEST(Layout, EachBoxFollowsItsCaptionInZOrder) {
  const Control* previous = nullptr;
  for (const Control& control : kControls) {
    const bool box = control.kind == ControlKind::InputBox || control.kind == ControlKind::ReadOut;
    if (box) {
      ASSERT_NE(previous, nullptr) << control.name;
      ASSERT_TRUE(control.namedBy.has_value()) << control.name;
      EXPECT_EQ(previous->id, *control.namedBy) << control.name;
    }
    previous = &control;
  }
}

}  // namespace
}  // namespace velmorida::layout
