// Which colours each kind of control is drawn in, as a function of the
// desktop: the window's own colours with black text in every ordinary theme
// (light or dark), the desktop's own colours throughout in a high-contrast
// mode. It names colours only; each presentation maps a desktop role to its
// toolkit's palette, system colour or CSS keyword.
#pragma once

#include <variant>

#include "window/layout.h"

namespace velmorida::colours {

// What the desktop asks of applications. A dark theme is ordinary: the
// window keeps its own light backgrounds and so needs its own dark text.
enum class Contrast { Ordinary, High };

// A colour of the desktop's, by the role it plays there.
enum class DesktopRole {
  Face,           // dialogs and their labels (COLOR_BTNFACE, QPalette::Window, ButtonFace)
  FaceText,       // text on Face (COLOR_BTNTEXT, QPalette::WindowText, ButtonText)
  Field,          // text fields (COLOR_WINDOW, QPalette::Base, Field)
  FieldText,      // text in fields (COLOR_WINDOWTEXT, QPalette::Text, FieldText)
  Highlight,      // selected text (COLOR_HIGHLIGHT, QPalette::Highlight, Highlight)
  HighlightText,  // its text (COLOR_HIGHLIGHTTEXT, QPalette::HighlightedText, HighlightText)
};

// One colour: the window's own, or the desktop's for a role.
using Colour = std::variant<layout::Rgb, DesktopRole>;

struct ControlColours {
  Colour background;
  Colour text;
  Colour selection;      // behind selected text, and the focus frame
  Colour selectionText;  // selected text
};

// The window's background, the frame and every label.
ControlColours WindowColours(Contrast contrast);

// A control of the given kind; a label is drawn as the window is.
ControlColours ColoursOf(layout::ControlKind kind, Contrast contrast);

}  // namespace velmorida::colours
