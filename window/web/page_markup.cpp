#include "window/web/page_markup.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <variant>

#include "window/calculator.h"
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

constexpr std::string_view kTitlePlaceholder = "{{{ TITLE }}}";
constexpr std::string_view kStylePlaceholder = "{{{ STYLE }}}";
constexpr std::string_view kWindowPlaceholder = "{{{ WINDOW }}}";
constexpr std::string_view kScriptPlaceholder = "{{{ SCRIPT }}}";
constexpr std::string_view kCorePlaceholder = "{{{ CORE }}}";
constexpr std::string_view kScriptEnd = "</script";

constexpr std::string_view kBase64Digits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Text and attribute values of the markup.
std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Attribute(std::string_view name, std::string_view value) {
  return ' ' + std::string(name) + "=\"" + Escaped(value) + '"';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string Pixels(int twips) {
  return std::to_string(layout::TwipsToPixels(twips, kCssDpi)) + "px";
}

std::string Place(const layout::Twips& place, bool sized) {
  std::string out = "left:" + Pixels(place.left) + ";top:" + Pixels(place.top);
  if (sized) out += ";width:" + Pixels(place.width) + ";height:" + Pixels(place.height);
  return out;
}

// A label sizes itself to its caption, keeping its left edge.
std::string ControlRule(const layout::Control& control) {
  return '#' + std::string(control.name) + '{' +
         Place(control.place, control.kind != ControlKind::Label) +
         ";font-size:" + std::to_string(layout::FontPixels(*control.font, kCssDpi)) +
         "px;font-weight:" + std::to_string(control.font->weight) + '}';
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
  if (const auto* role = std::get_if<colours::DesktopRole>(&colour)) {
    return std::string(SystemColour(*role));
  }
  const layout::Rgb& rgb = std::get<layout::Rgb>(colour);
  return "rgb(" + std::to_string(rgb.red) + ' ' + std::to_string(rgb.green) + ' ' +
         std::to_string(rgb.blue) + ')';
}

// One selector, without commas: its selection's rule is appended to it.
std::string ColourRule(std::string_view selector, const colours::ControlColours& c) {
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
  std::string out = ColourRule(".calculator", colours::WindowColours(contrast));
  for (ControlKind kind : layout::kControlKinds) {
    out += ColourRule(SelectorOf(kind), colours::ColoursOf(kind, contrast));
  }
  return out;
}

// What a started calculator shows in a control; its texts do not depend on
// the separator, since every figure is "0".
std::string ElementOf(const layout::Control& control, const View& started) {
  const std::string_view text = started.TextOf(control.id);
  const std::string name = Attribute("id", control.name);
  std::string named;
  if (control.namedBy) named = Attribute("aria-label", layout::AccessibleNameOf(control));
  if (control.describedBy) {
    named += Attribute("aria-describedby", layout::ControlOf(*control.describedBy).name);
  }
  switch (control.kind) {
    case ControlKind::Label: {
      std::string out = "<label" + name;
      for (const layout::Control& named_ : layout::kControls) {
        if (named_.namedBy == control.id && named_.kind != ControlKind::UnitList) {
          out += Attribute("for", named_.name);
        }
      }
      return out + '>' + Escaped(text.empty() ? control.caption : text) + "</label>";
    }
    case ControlKind::UnitList: {
      std::string out = "<select" + name + named + '>';
      for (const Unit& unit : layout::UnitsOf(control.id)) {
        out += "<option" + std::string(unit.name == text ? " selected" : "") + '>' +
               Escaped(unit.name) + "</option>";
      }
      return out + "</select>";
    }
    case ControlKind::InputBox:
      return "<input" + name + named + Attribute("type", "text") + Attribute("value", text) +
             Attribute("inputmode", "decimal") + Attribute("autocomplete", "off") +
             Attribute("spellcheck", "false") + '>';
    case ControlKind::ReadOut:
      return "<input" + name + named + Attribute("type", "text") + Attribute("value", text) +
             " readonly>";
  }
  return {};
}

bool ReplaceAll(std::string& text, std::string_view placeholder, std::string_view value) {
  bool found = false;
  for (std::size_t at = text.find(placeholder); at != std::string::npos;
       at = text.find(placeholder, at + value.size())) {
    text.replace(at, placeholder.size(), value);
    found = true;
  }
  return found;
}

bool EndsItsElement(std::string_view script) {
  std::string lower(script);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find(kScriptEnd) != std::string::npos;
}

}  // namespace

std::string WindowMarkup() {
  const Calculator started(NumberFormat{}, {});
  const View view = started.Render();
  std::string out = "<div class=\"calculator\" id=\"" + std::string(layout::kWindowName) +
                    "\" role=\"group\" aria-labelledby=\"title\"><div class=\"frame\"" +
                    Attribute("id", layout::kFrameName) + '>';
  // The layout's z-order: each caption just before what it names, and the
  // controls that take the focus in their tab order.
  for (const layout::Control& control : layout::kControls) {
    out += ElementOf(control, view);
  }
  return out + "</div></div>";
}

std::string PageStylesheet() {
  std::string out = ".calculator{font-family:" + std::string(layout::kFont.family) +
                    std::string(kFontFallbacks) + '}';
  out += '#' + std::string(layout::kWindowName) + "{width:" + Pixels(layout::kClientArea.width) +
         ";height:" + Pixels(layout::kClientArea.height) + '}';
  out += '#' + std::string(layout::kFrameName) + '{' + Place(layout::kFrame, true) + '}';
  for (const layout::Control& control : layout::kControls) out += ControlRule(control);
  out += ColourRules(colours::Contrast::Ordinary);
  out += "@media (forced-colors:active){" + ColourRules(colours::Contrast::High) + '}';
  return out;
}

std::optional<std::string> AssemblePage(std::string_view shell, std::string_view script,
                                        std::span<const unsigned char> core) {
  if (EndsItsElement(script)) return std::nullopt;
  std::string page(shell);
  // The script and the core go in last, so that no text of theirs is taken
  // for a placeholder.
  const bool filled = ReplaceAll(page, kTitlePlaceholder, Escaped(Trimmed(layout::kCaption))) &&
                      ReplaceAll(page, kStylePlaceholder, PageStylesheet()) &&
                      ReplaceAll(page, kWindowPlaceholder, WindowMarkup()) &&
                      ReplaceAll(page, kCorePlaceholder, Base64(core)) &&
                      ReplaceAll(page, kScriptPlaceholder, script);
  if (!filled) return std::nullopt;
  return page;
}

std::string Base64(std::span<const unsigned char> bytes) {
  constexpr std::size_t kGroup = 3;
  constexpr unsigned kDigitBits = 6;
  constexpr unsigned kDigitMask = 0x3F;
  constexpr char kPad = '=';
  std::string out;
  out.reserve((bytes.size() + kGroup - 1) / kGroup * 4);
  for (std::size_t i = 0; i < bytes.size(); i += kGroup) {
    const std::size_t left = std::min(kGroup, bytes.size() - i);
    std::uint32_t group = 0;
    for (std::size_t j = 0; j < kGroup; ++j) {
      group = (group << 8) | (j < left ? bytes[i + j] : 0U);
    }
    for (std::size_t j = 0; j <= kGroup; ++j) {
      const unsigned shift = kDigitBits * static_cast<unsigned>(kGroup - j);
      out += j <= left ? kBase64Digits[(group >> shift) & kDigitMask] : kPad;
    }
  }
  return out;
}

}  // namespace velmorida::web
