// The web app's icons, one table: each file with its size, what lies around
// the design, how the design fits and the purpose the manifest gives it.
// icon_export draws them and web_manifest lists them in the manifest; this
// header draws nothing and writes no file.
#pragma once

#include <optional>
#include <string_view>
#include <variant>

#include "window/colours.h"
#include "window/layout.h"

namespace velmorida::web {

// Around the design: transparent, or the window's colour to the edges, for
// the launchers that cut the icon to a shape or draw transparency black.
enum class Backdrop { Clear, Window };
// The design at the largest whole scale that fits the square, or whose
// opaque pixels fit the maskable icon's safe circle.
enum class Fit { Square, SafeCircle };

// A maskable icon is cut to a circle, a squircle or a rounded square by the
// launcher; what lies within this share of its size from the centre is
// always kept.
inline constexpr double kSafeRadiusShare = 0.4;

struct WebIcon {
  std::string_view file;
  int size;
  Backdrop backdrop;
  Fit fit;
  std::string_view purpose;  // in the manifest; empty: linked from the page only
};

inline constexpr WebIcon kWebIcons[] = {
    {"icon-192.png", 192, Backdrop::Clear, Fit::Square, "any"},
    {"icon-512.png", 512, Backdrop::Clear, Fit::Square, "any"},
    {"icon-maskable-512.png", 512, Backdrop::Window, Fit::SafeCircle, "maskable"},
    // iOS and iPadOS home screens: 180 px, opaque, rounded by the system.
    {"apple-touch-icon.png", 180, Backdrop::Window, Fit::Square, ""},
};

// The window's own background, which the app shows while it starts, in its
// title bar and around the opaque icons' design; nothing where the colour
// rule gives the desktop's colour instead of one of the window's own.
inline std::optional<layout::Rgb> WindowBackground() {
  const colours::ControlColours window = colours::WindowColours(colours::Contrast::Ordinary);
  if (const auto* colour = std::get_if<layout::Rgb>(&window.background)) return *colour;
  return std::nullopt;
}

}  // namespace velmorida::web
