// The calculator's window as data: its caption, client area, frame and each
// control's place in twips, colours, fonts, captions and tab order, and the
// conversion of twips to pixels at any dpi. Both presentations (Qt and Win32)
// build their window from this; it draws nothing and knows no toolkit.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "calc/reactance.h"

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

struct Control {
  ControlId id;
  std::string_view name;  // the name tests and screen readers know it by
  ControlKind kind;
  Twips place;  // from the frame's top-left corner
  std::string_view caption;
  const Font* font;
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
// screen reader names a box from the label before it.
inline constexpr std::array<Control, 10> kControls = {{
    {ControlId::lblEtichete1,
     "lblEtichete1",
     ControlKind::Label,
     {240, 480, 2940, 240},
     kCapacitanceCaption,
     &kFont},
    {ControlId::txtC, "txtC", ControlKind::InputBox, {720, 900, 855, 360}, "", &kFont},
    {ControlId::cboC, "cboC", ControlKind::UnitList, {1560, 900, 1095, 360}, "", &kFont},
    {ControlId::lblEtichete2,
     "lblEtichete2",
     ControlKind::Label,
     {720, 1800, 1980, 240},
     kFrequencyCaption,
     &kFont},
    {ControlId::txtFreq, "txtFreq", ControlKind::InputBox, {720, 2100, 855, 360}, "", &kFont},
    {ControlId::cboFreq, "cboFreq", ControlKind::UnitList, {1560, 2100, 1095, 360}, "", &kFont},
    {ControlId::lblEtichete0,
     "lblEtichete0",
     ControlKind::Label,
     {3360, 1200, 2760, 240},
     kReadOutCaption,
     &kFont},
    {ControlId::txtR, "txtR", ControlKind::ReadOut, {3885, 1560, 1095, 375}, "", &kFont},
    {ControlId::lblUM, "lblUM", ControlKind::Label, {5205, 1620, 435, 240}, "", &kFont},
    {ControlId::lblQZ9XK,
     "lblQZ9XK",
     ControlKind::Label,
     {4320, 480, 900, 270},
     kSignature,
     &kSignatureFont},
}};

// The controls that take the keyboard focus, in the order Tab visits them.
inline constexpr std::array<ControlId, 5> kTabOrder = {
    ControlId::txtC, ControlId::cboC, ControlId::txtFreq, ControlId::cboFreq, ControlId::txtR};

const Control& ControlOf(ControlId id);

// Twips to pixels at `dpi`, rounded to the nearest pixel with halves away
// from zero, as Windows' MulDiv rounds.
int TwipsToPixels(int twips, int dpi);
Pixels ToPixels(const Twips& place, int dpi);

// A font's height in pixels at `dpi` (the em, without internal leading).
int FontPixels(const Font& font, int dpi);

// What a screen reader calls a control captioned "Frecventa de lucru:":
// the caption without its colon.
std::string_view AccessibleNameOf(std::string_view caption);

// The items of a unit list, in list order: the capacitance or frequency units.
std::span<const Unit> UnitsOf(ControlId list);

// What a screen reader calls a unit list: the caption of its quantity and
// "unitate" ("Capacitatea condensatorului, unitate").
std::string UnitListName(ControlId list);

}  // namespace velmorida::layout
