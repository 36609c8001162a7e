#include "window/colours.h"

namespace velmorida::colours {
namespace {

// The text and selection the window was drawn with, on its own backgrounds:
// black text, and the classic navy selection with white text.
constexpr layout::Rgb kOwnText{0, 0, 0};
constexpr layout::Rgb kOwnSelection{0, 0, 128};
constexpr layout::Rgb kOwnSelectionText{255, 255, 255};
// The unit lists are fields the user picks from: white, as list fields are.
constexpr layout::Rgb kOwnListColour{255, 255, 255};

ControlColours OwnColours(layout::Rgb background) {
  return {background, kOwnText, kOwnSelection, kOwnSelectionText};
}

ControlColours DesktopColours(DesktopRole background, DesktopRole text) {
  return {background, text, DesktopRole::Highlight, DesktopRole::HighlightText};
}

}  // namespace

ControlColours WindowColours(Contrast contrast) {
  if (contrast == Contrast::High) return DesktopColours(DesktopRole::Face, DesktopRole::FaceText);
  return OwnColours(layout::kWindowColour);
}

ControlColours ColoursOf(layout::ControlKind kind, Contrast contrast) {
  switch (kind) {
    case layout::ControlKind::Label:
      return WindowColours(contrast);
    case layout::ControlKind::InputBox:
    case layout::ControlKind::ReadOut:
    case layout::ControlKind::UnitList:
      if (contrast == Contrast::High) {
        return DesktopColours(DesktopRole::Field, DesktopRole::FieldText);
      }
      break;
  }
  switch (kind) {
    case layout::ControlKind::InputBox:
      return OwnColours(layout::kInputColour);
    case layout::ControlKind::ReadOut:
      return OwnColours(layout::kReadOutColour);
    default:
      return OwnColours(kOwnListColour);
  }
}

}  // namespace velmorida::colours
