// The calculator's window as data: its caption, client area, frame and each
// control's kind, place in twips, colours, fonts, captions, tab order and which
// caption names it, and the conversion of twips to pixels at any dpi. Every
// presentation (Qt, Win32, the page) builds its window from this; it draws
// nothing and knows no toolkit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmorida::layout {

struct Twips {
  int left;
  int top;
  int width;
  int height;
};

struct Pixels {
  int left;
  int top;
  int width;
  int height;
};

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

struct Font {
  std::string_view family;
  int centipoints;  // 975 for 9.75 pt: a whole number, so that sizes round exactly
  int weight;       // 400 regular, 700 bold
};

enum class ControlKind { Label, InputBox, UnitList, ReadOut };

// Every control inside the frame. The values double as the Win32 control ids,
// so they start above the dialog ids Windows reserves (IDOK, IDCANCEL, ...).
enum class ControlId {
  lblEtichete1 = 101,
  txtC,
  cboC,
  lblEtichete2,
  txtFreq,
  cboFreq,
  lblEtichete0,
  txtR,
  lblUM,
  lblQZ9XK,
};

// The controls a kind groups, for loops over every kind.
inline constexpr std::array<ControlKind, 4> kControlKinds = {
    ControlKind::Label, ControlKind::InputBox, ControlKind::UnitList, ControlKind::ReadOut};

struct Control {
  ControlId id;
  std::string_view name;  // the name tests and screen readers know it by
  ControlKind kind;
  Twips place;  // from the frame's top-left corner
  std::string_view caption;
  const Font* font;
  int tabIndex;  // the place in the tab order of the controls that take the focus
  // The caption that names it for a screen reader (a box, a list, the
  // read-out), and the label that describes it (the read-out's unit).
  std::optional<ControlId> namedBy = std::nullopt;
  std::optional<ControlId> describedBy = std::nullopt;
};

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDesignDpi = 96;  // 15 twips a pixel

inline constexpr std::string_view kWindowName = "frmVelmorida";
inline constexpr std::string_view kFrameName = "fraVelmorida";
inline constexpr std::string_view kCaption = " Velmorida condensatoarelor ";

inline constexpr Twips kClientArea{0, 0, 6765, 3015};
inline constexpr Twips kFrame{120, 120, 6495, 2775};

inline constexpr Rgb kWindowColour{224, 224, 224};
inline constexpr Rgb kInputColour{192, 255, 192};
inline constexpr Rgb kReadOutColour{255, 255, 128};

inline constexpr Font kFont{"Verdana", 975, 400};
inline constexpr Font kSignatureFont{"Verdana", 1200, 700};

inline constexpr std::string_view kCapacitanceCaption = "Capacitatea condensatorului:";
inline constexpr std::string_view kFrequencyCaption = "Frecventa de lucru:";
inline constexpr std::string_view kReadOutCaption = "Velmorida condensatorului:";
inline constexpr std::string_view kSignature = "QZ9XK";

// In z-order, each caption just before the control it names: on Windows a
// screen reader names a box from the label before it. A unit list is named
// by the caption of its quantity.
// clang-format off
inline constexpr std::array<Control, 10> kControls = {{
    // id, name, kind, place, caption, font, tab index, named by, described by
    {ControlId::lblEtichete1, "lblEtichete1", ControlKind::Label, {240, 480, 2940, 240},
     kCapacitanceCaption, &kFont, 9},
    {ControlId::txtC, "txtC", ControlKind::InputBox, {720, 900, 855, 360},
     "", &kFont, 0, ControlId::lblEtichete1},
    {ControlId::cboC, "cboC", ControlKind::UnitList, {1560, 900, 1095, 360},
     "", &kFont, 1, ControlId::lblEtichete1},
    {ControlId::lblEtichete2, "lblEtichete2", ControlKind::Label, {720, 1800, 1980, 240},
     kFrequencyCaption, &kFont, 10},
    {ControlId::txtFreq, "txtFreq", ControlKind::InputBox, {720, 2100, 855, 360},
     "", &kFont, 2, ControlId::lblEtichete2},
    {ControlId::cboFreq, "cboFreq", ControlKind::UnitList, {1560, 2100, 1095, 360},
     "", &kFont, 3, ControlId::lblEtichete2},
    {ControlId::lblEtichete0, "lblEtichete0", ControlKind::Label, {3360, 1200, 2760, 240},
     kReadOutCaption, &kFont, 8},
    {ControlId::txtR, "txtR", ControlKind::ReadOut, {3885, 1560, 1095, 375},
     "", &kFont, 4, ControlId::lblEtichete0, ControlId::lblUM},
    {ControlId::lblUM, "lblUM", ControlKind::Label, {5205, 1620, 435, 240},
     "", &kFont, 7},
    {ControlId::lblQZ9XK, "lblQZ9XK", ControlKind::Label, {4320, 480, 900, 270},
     kSignature, &kSignatureFont, 6},
}};
// clang-format on

// Labels never take the keyboard focus; every other control does.
constexpr bool TakesFocus(ControlKind kind) {
  return kind != ControlKind::Label;
}

constexpr std::size_t IndexOf(ControlId id) {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].id == id) return i;
  }
  return kControls.size();
}

namespace detail {
constexpr std::size_t CountFocusable() {
  std::size_t count = 0;
  for (const Control& control : kControls) count += TakesFocus(control.kind) ? 1 : 0;
  return count;
}
}  // namespace detail

// The controls that take the focus, in the order Tab visits them: by their
// tab index.
inline constexpr std::array<ControlId, detail::CountFocusable()> kTabOrder = [] {
  std::array<ControlId, detail::CountFocusable()> order{};
  std::size_t next = 0;
  for (int index = 0; next < order.size(); ++index) {
    for (const Control& control : kControls) {
      if (TakesFocus(control.kind) && control.tabIndex == index) order[next++] = control.id;
    }
  }
  return order;
}();

// The layout's row of a control.
const Control& RowOf(ControlId id);

// The row of the control a name in the layout stands for (the page's
// element ids, a test's requests); nothing for any other name.
const Control* RowNamed(std::string_view name);

// The window's name as its caption shows it, without the blanks that pad it
// in the title bar: the page's title and the installed app's name.
std::string_view Title();

// Twips to pixels at `dpi`, rounded to the nearest pixel with halves away
// from zero, as Windows' MulDiv rounds.
int TwipsToPixels(int twips, int dpi);
Pixels ToPixels(const Twips& place, int dpi);

// A font's height in pixels at `dpi` (the em, without internal leading).
int FontPixels(const Font& font, int dpi);

// What a screen reader calls a control, the same in every window: a box and
// the read-out by their caption without its colon ("Frecventa de lucru"), a
// unit list by the caption of its quantity and "unitate" ("Capacitatea
// condensatorului, unitate"); a label by nothing of its own. The colon is
// the caption's punctuation on the screen, not part of the name.
std::string AccessibleNameOf(ControlId id);

}  // namespace velmorida::layout
