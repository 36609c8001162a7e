#include "window/web/page_markup.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <span>
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
// What browsers give a page's text unless the user asks for another size.
constexpr int kBrowserFontPixels = 16;
// The least text size on a phone, where the window would be scaled down.
constexpr int kPhoneTextPixels = 16;
// Free fonts with Verdana's metrics, then the nearest common ones.
constexpr std::string_view kFontFallbacks = ", Veranda, \"DejaVu Sans\", sans-serif";

// Said where the calculator cannot start: scripts off, no WebAssembly.
constexpr std::string_view kNeedsScript =
    "Calculatorul are nevoie de JavaScript si WebAssembly pentru a functiona.";
// Said before what else kept it from starting.
constexpr std::string_view kFailedToStart = "Calculatorul nu a putut porni:";

constexpr std::string_view kTitlePlaceholder = "{{{ TITLE }}}";
constexpr std::string_view kStylePlaceholder = "{{{ STYLE }}}";
constexpr std::string_view kWindowPlaceholder = "{{{ WINDOW }}}";
constexpr std::string_view kScriptPlaceholder = "{{{ SCRIPT }}}";
constexpr std::string_view kCorePlaceholder = "{{{ CORE }}}";
constexpr std::string_view kNeedsPlaceholder = "{{{ NEEDS }}}";
constexpr std::string_view kFailedPlaceholder = "{{{ FAILED }}}";
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

// The window's text size in CSS pixels at the browser's usual font size.
int WindowFontPixels() {
  return layout::FontPixels(layout::kFont, kCssDpi);
}

// A length of the window, in its text's size: the window's unit --u is that
// size in pixels, as the browser gives it (its minimum font size and text
// zoom included), so that the layout grows with the text. At the usual size
// each place is its twips' pixels at 96 dpi.
std::string Length(int twips) {
  const int pixels = layout::TwipsToPixels(twips, kCssDpi);
  if (pixels == 0) return "0";
  return "calc(var(--u)*" + std::to_string(pixels) + '/' + std::to_string(WindowFontPixels()) + ')';
}

std::string Place(const layout::Twips& place, bool sized) {
  std::string out = "left:" + Length(place.left) + ";top:" + Length(place.top);
  if (sized) out += ";width:" + Length(place.width) + ";height:" + Length(place.height);
  return out;
}

// A font as a multiple of the window's, so that it follows the browser's.
std::string FontRule(const layout::Font& font) {
  std::string out = "font-size:";
  if (&font == &layout::kFont) {
    out += "1em";
  } else {
    out += "calc(1em*" + std::to_string(layout::FontPixels(font, kCssDpi)) + '/' +
           std::to_string(WindowFontPixels()) + ')';
  }
  return out + ";font-weight:" + std::to_string(font.weight);
}

// A label sizes itself to its caption, keeping its left edge.
std::string ControlRule(const layout::Control& control) {
  return '#' + std::string(control.name) + '{' +
         Place(control.place, control.kind != ControlKind::Label) + ';' + FontRule(*control.font) +
         '}';
}

bool IsCaption(const layout::Control& label) {
  for (const layout::Control& control : layout::kControls) {
    if (control.namedBy == label.id) return true;
  }
  return false;
}

bool Describes(const layout::Control& label) {
  for (const layout::Control& control : layout::kControls) {
    if (control.describedBy == label.id) return true;
  }
  return false;
}

// A phone's arrangement of the same controls in the same order, one column
// for the screen's width: each caption on a line of its own, and below it
// what it names, a box with its unit list or the read-out with its unit,
// as large as a finger needs.
std::string PhoneRules() {
  std::string captions;
  std::string cells;
  std::string units;
  std::string others;
  const auto add = [](std::string& selectors, const layout::Control& control) {
    if (!selectors.empty()) selectors += ',';
    selectors += '#' + std::string(control.name);
  };
  for (const layout::Control& control : layout::kControls) {
    if (control.kind != ControlKind::Label) {
      add(cells, control);
    } else if (IsCaption(control)) {
      add(captions, control);
    } else if (Describes(control)) {
      add(units, control);
    } else {
      add(others, control);
    }
  }
  const std::string window = '#' + std::string(layout::kWindowName);
  const std::string frame = '#' + std::string(layout::kFrameName);
  // The window fills the screen, as an application does there.
  return window + "{width:auto;height:auto;min-height:100vh;min-height:100dvh;font-size:1rem}" +
         frame +
         "{position:static;width:auto;height:auto;display:grid;"
         "grid-template-columns:minmax(0,1fr) auto;align-items:center;gap:.5em .75em;"
         "padding:1em}" +
         frame + ">*{position:static;width:auto;height:auto}" + captions +
         "{grid-column:1/-1;white-space:normal;margin-top:.5em}" + cells +
         "{min-width:2.75rem;min-height:2.75rem}" + units + "{align-self:center}" + others +
         "{grid-column:1/-1;justify-self:end}";
}

// Where the phone's arrangement takes over: where the window, scaled to fit,
// would bring its text under a phone's least size, or where its text is so
// large that the window no longer fits. The query's lh is the window's unit.
std::string PhoneQuery() {
  const int windowPixels = layout::TwipsToPixels(layout::kClientArea.width, kCssDpi);
  const int fits = (windowPixels * kPhoneTextPixels + WindowFontPixels() - 1) / WindowFontPixels();
  return "@container (max-width:" + std::to_string(fits) + "px) or (max-width:calc(" +
         std::to_string(windowPixels) + "lh/" + std::to_string(WindowFontPixels()) + "))";
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
// Every control waits disabled until the script has started the core.
std::string ElementOf(const layout::Control& control, const View& started) {
  const ControlView* shown = nullptr;
  for (const ControlView& view : started.controls) {
    if (view.id == control.id) shown = &view;
  }
  const std::string_view text = shown != nullptr ? shown->text : std::string_view();
  const std::string name = Attribute("id", control.name);
  std::string named;
  if (control.namedBy) named = Attribute("aria-label", layout::AccessibleNameOf(control.id));
  if (control.describedBy) {
    named += Attribute("aria-describedby", layout::RowOf(*control.describedBy).name);
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
      std::string out = "<select" + name + named + " disabled>";
      const std::span<const std::string_view> items = Calculator::ItemsOf(control.id);
      for (std::size_t i = 0; i < items.size(); ++i) {
        const bool chosen = shown != nullptr && shown->item == static_cast<int>(i);
        out += "<option" + std::string(chosen ? " selected" : "") + '>' + Escaped(items[i]) +
               "</option>";
      }
      return out + "</select>";
    }
    case ControlKind::InputBox:
      // The browser's own refusal of a character beyond the box's limit, on
      // every keyboard; what the page inserts itself the calculator fits.
      return "<input" + name + named + Attribute("type", "text") + Attribute("value", text) +
             Attribute("maxlength", std::to_string(Calculator::kBoxMaxLength)) +
             Attribute("inputmode", "decimal") + Attribute("autocomplete", "off") +
             Attribute("spellcheck", "false") + " disabled>";
    case ControlKind::ReadOut:
      return "<input" + name + named + Attribute("type", "text") + Attribute("value", text) +
             " readonly disabled>";
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
  const Calculator started(".", {});
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

// The window's unit is registered as a length, so that it is worked out once
// where it is set, from the window's text, and inherited as pixels. A
// browser without the lh unit takes the em, which leaves out a minimum font
// size.
std::string PageStylesheet() {
  std::string out =
      "@property --u{syntax:\"<length>\";inherits:true;initial-value:0px}"
      "main{container-type:inline-size;line-height:1;--u:1em;font-size:calc(1rem*" +
      std::to_string(WindowFontPixels()) + '/' + std::to_string(kBrowserFontPixels) +
      ")}@supports (width:1lh){main{--u:1lh}}";
  out += ".calculator{font-family:" + std::string(layout::kFont.family) +
         std::string(kFontFallbacks) + '}';
  out += '#' + std::string(layout::kWindowName) + "{width:" + Length(layout::kClientArea.width) +
         ";height:" + Length(layout::kClientArea.height) + '}';
  out += '#' + std::string(layout::kFrameName) + '{' + Place(layout::kFrame, true) + '}';
  for (const layout::Control& control : layout::kControls) out += ControlRule(control);
  out += ColourRules(colours::Contrast::Ordinary);
  out += "@media (forced-colors:active){" + ColourRules(colours::Contrast::High) + '}';
  out += PhoneQuery() + '{' + PhoneRules() + '}';
  return out;
}

std::optional<std::string> AssemblePage(std::string_view shell, std::string_view script,
                                        std::span<const unsigned char> core) {
  if (EndsItsElement(script)) return std::nullopt;
  std::string page(shell);
  // The script and the core go in last, so that no text of theirs is taken
  // for a placeholder.
  const bool filled = ReplaceAll(page, kTitlePlaceholder, Escaped(layout::Title())) &&
                      ReplaceAll(page, kStylePlaceholder, PageStylesheet()) &&
                      ReplaceAll(page, kWindowPlaceholder, WindowMarkup()) &&
                      ReplaceAll(page, kNeedsPlaceholder, kNeedsScript) &&
                      ReplaceAll(page, kFailedPlaceholder, kFailedToStart) &&
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
