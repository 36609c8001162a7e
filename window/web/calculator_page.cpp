#include "window/web/calculator_page.h"

#include <algorithm>
#include <string_view>

#include "window/colours.h"
#include "window/layout.h"

namespace velmorida::web {
namespace {

using layout::ControlId;
using layout::ControlKind;

// CSS pixels are 1/96 inch: the layout's design dpi, 15 twips a pixel.
constexpr int kCssDpi = layout::kDesignDpi;
// Free fonts with Verdana's metrics, then the nearest common ones.
constexpr std::string_view kFontFallbacks = ", Veranda, \"DejaVu Sans\", sans-serif";

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out += '"';
}

std::string Number(std::string_view key, int value) {
  return Quoted(key) + ':' + std::to_string(value);
}

std::string Text(std::string_view key, std::string_view value) {
  return Quoted(key) + ':' + Quoted(value);
}

std::string Place(const layout::Twips& twips) {
  const layout::Pixels p = layout::ToPixels(twips, kCssDpi);
  return Number("left", p.left) + ',' + Number("top", p.top) + ',' + Number("width", p.width) +
         ',' + Number("height", p.height);
}

std::string_view ElementOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::InputBox:
      return "input";
    case ControlKind::UnitList:
      return "select";
    case ControlKind::ReadOut:
      return "input";
    case ControlKind::Label:
      break;
  }
  return "label";
}

// Each caption and the control it names, as in the desktop windows.
struct Naming {
  ControlId caption;
  ControlId control;
};
constexpr Naming kNamings[] = {
    {ControlId::lblEtichete1, ControlId::txtC},
    {ControlId::lblEtichete2, ControlId::txtFreq},
    {ControlId::lblEtichete0, ControlId::txtR},
};

std::string_view NamedControl(ControlId caption) {
  for (const Naming& naming : kNamings) {
    if (naming.caption == caption) return layout::ControlOf(naming.control).name;
  }
  return {};
}

// A box is named by its caption without the colon, a list by its caption
// and "unitate"; labels need no name of their own.
std::string AccessibleName(const layout::Control& control) {
  if (control.kind == ControlKind::UnitList) return layout::UnitListName(control.id);
  for (const Naming& naming : kNamings) {
    if (naming.control == control.id) {
      return std::string(layout::AccessibleNameOf(layout::ControlOf(naming.caption).caption));
    }
  }
  return {};
}

int TabPosition(ControlId id) {
  const auto found = std::find(layout::kTabOrder.begin(), layout::kTabOrder.end(), id);
  if (found == layout::kTabOrder.end()) return -1;
  return static_cast<int>(found - layout::kTabOrder.begin());
}

std::string Units(ControlId id) {
  std::string out = "[";
  for (const Unit& unit : layout::UnitsOf(id)) {
    if (out.size() > 1) out += ',';
    out += Quoted(unit.name);
  }
  return out += ']';
}

std::string ControlJson(const layout::Control& control) {
  std::string out = '{' + Text("name", control.name) + ',' +
                    Text("element", ElementOf(control.kind)) + ',' + Place(control.place) + ',' +
                    Text("caption", control.caption) + ',' + Text("for", NamedControl(control.id)) +
                    ',' + Text("accessibleName", AccessibleName(control)) + ',' +
                    Number("tab", TabPosition(control.id)) + ',' +
                    Number("fontPixels", layout::FontPixels(*control.font, kCssDpi)) + ',' +
                    Number("fontWeight", control.font->weight);
  if (control.kind == ControlKind::UnitList) out += ",\"units\":" + Units(control.id);
  if (control.kind == ControlKind::ReadOut) out += ",\"readOnly\":true";
  return out += '}';
}

// The CSS system colour that plays a desktop role.
std::string_view SystemColour(colours::DesktopRole role) {
  switch (role) {
    case colours::DesktopRole::Face:
      return "ButtonFace";
    case colours::DesktopRole::FaceText:
      return "ButtonText";
    case colours::DesktopRole::Field:
      return "Field";
    case colours::DesktopRole::FieldText:
      return "FieldText";
    case colours::DesktopRole::Highlight:
      return "Highlight";
    case colours::DesktopRole::HighlightText:
      break;
  }
  return "HighlightText";
}

std::string Css(const colours::Colour& colour) {
  if (colour.fromDesktop) return std::string(SystemColour(colour.role));
  return "rgb(" + std::to_string(colour.own.red) + ' ' + std::to_string(colour.own.green) + ' ' +
         std::to_string(colour.own.blue) + ')';
}

// One selector, without commas: its selection's rule is appended to it.
std::string Rules(std::string_view selector, const colours::ControlColours& c) {
  const std::string selection = std::string(selector) + "::selection";
  return std::string(selector) + "{background-color:" + Css(c.background) +
         ";color:" + Css(c.text) + ";outline-color:" + Css(c.selection) + '}' + selection +
         "{background-color:" + Css(c.selection) + ";color:" + Css(c.selectionText) + '}';
}

std::string_view SelectorOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::InputBox:
      return ".calculator input";
    case ControlKind::UnitList:
      return ".calculator select";
    case ControlKind::ReadOut:
      return ".calculator input[readonly]";
    case ControlKind::Label:
      break;
  }
  return ".calculator label";
}

std::string ColourRules(colours::Contrast contrast) {
  std::string out = Rules(".calculator", colours::WindowColours(contrast));
  for (ControlKind kind :
       {ControlKind::Label, ControlKind::InputBox, ControlKind::UnitList, ControlKind::ReadOut}) {
    out += Rules(SelectorOf(kind), colours::ColoursOf(kind, contrast));
  }
  return out;
}

}  // namespace

std::string PageLayoutJson() {
  std::string out = '{' + Text("title", layout::kCaption) + ',' +
                    Number("width", layout::TwipsToPixels(layout::kClientArea.width, kCssDpi)) +
                    ',' +
                    Number("height", layout::TwipsToPixels(layout::kClientArea.height, kCssDpi)) +
                    ",\"frame\":{" + Place(layout::kFrame) + "},\"controls\":[";
  bool first = true;
  for (const layout::Control& control : layout::kControls) {
    if (!first) out += ',';
    first = false;
    out += ControlJson(control);
  }
  return out += "]}";
}

std::string PageStylesheet() {
  std::string out = ".calculator{font-family:" + std::string(layout::kFont.family) +
                    std::string(kFontFallbacks) + '}';
  out += ColourRules(colours::Contrast::Ordinary);
  out += "@media (forced-colors:active){" + ColourRules(colours::Contrast::High) + '}';
  return out;
}

}  // namespace velmorida::web
