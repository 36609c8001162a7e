// What the browser page needs from the shared window code, as plain data:
// the window's controls with their places in CSS pixels, captions, names for
// screen readers, fonts and tab order as JSON, and the stylesheet of the
// colour rule. It holds no state and draws nothing; the page builds its
// elements from these texts.
#pragma once

#include <string>

namespace velmorida::web {

// {"title":..., "width":..., "height":..., "frame":{...}, "controls":[...]}:
// every control in z-order with its element ("label", "input", "select"),
// place, caption, accessible name, units, font and tab position.
std::string PageLayoutJson();

// The colours of every control from the colour rule: the window's own in an
// ordinary scheme, light or dark, the desktop's system colours when the
// browser forces its colours.
std::string PageStylesheet();

}  // namespace velmorida::web
