// Build tool of the web edition: writes the web app's manifest and its PNG
// icons into the site's folder. The name and colours come from the shared
// layout and colour rule, the icons from the program's own 32 x 32 XPM, so
// nothing here is typed twice; it writes neither the page nor its worker.
//
//   web_app_files OUTPUT_DIR
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "resources/velmorida.xpm"
#include "window/colours.h"
#include "window/layout.h"
#include "window/web/json_text.h"
#include "window/web/site/png.h"

namespace velmorida::web {
namespace {

constexpr std::string_view kManifestFile = "manifest.webmanifest";
// The launcher's label under the icon, where the full name is cut short.
constexpr std::string_view kShortName = "Velmorida";
constexpr std::string_view kLanguage = "ro";
// Both relative to the manifest, which sits in the folder: the app is the
// folder, wherever it is published.
constexpr std::string_view kStartUrl = "./";
constexpr std::string_view kScope = "./";
constexpr std::string_view kDisplay = "standalone";

// A maskable icon is cut to a circle, a squircle or a rounded square by the
// launcher; what lies within this share of its size from the centre is
// always kept.
constexpr double kSafeRadiusShare = 0.4;

// Around the design: transparent, or the window's colour to the edges, for
// the launchers that cut the icon to a shape or draw transparency black.
enum class Backdrop { Clear, Window };
// The design at the largest whole scale that fits the square, or whose
// opaque pixels fit the maskable icon's safe circle.
enum class Fit { Square, SafeCircle };

struct Icon {
  std::string_view file;
  int size;
  Backdrop backdrop;
  Fit fit;
  std::string_view purpose;  // in the manifest; empty: linked from the page only
};

constexpr Icon kIcons[] = {
    {"icon-192.png", 192, Backdrop::Clear, Fit::Square, "any"},
    {"icon-512.png", 512, Backdrop::Clear, Fit::Square, "any"},
    {"icon-maskable-512.png", 512, Backdrop::Window, Fit::SafeCircle, "maskable"},
    // iOS and iPadOS home screens: 180 px, opaque, rounded by the system.
    {"apple-touch-icon.png", 180, Backdrop::Window, Fit::Square, ""},
};

constexpr std::size_t kBytesPerPixel = 4;
constexpr std::uint8_t kOpaque = 255;
constexpr int kHexRgbDigits = 6;
constexpr unsigned kHexBase = 16;

// The design: its pixels row by row, no value where it is transparent.
struct Design {
  int width = 0;
  int height = 0;
  std::vector<std::optional<layout::Rgb>> pixels;
};

std::optional<layout::Rgb> ParseHexColour(std::string_view text) {
  if (text.size() != kHexRgbDigits + 1 || text[0] != '#') return std::nullopt;
  unsigned value = 0;
  for (char c : text.substr(1)) {
    const auto digit = std::string_view("0123456789abcdef")
                           .find(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    if (digit == std::string_view::npos) return std::nullopt;
    value = value * kHexBase + static_cast<unsigned>(digit);
  }
  return layout::Rgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                     static_cast<std::uint8_t>(value)};
}

// An XPM as its C array: "width height colours chars-per-pixel", one line
// per colour ("key c #RRGGBB" or "key c None"), then the rows.
std::optional<Design> ReadXpm(std::span<const char* const> lines, std::string& error) {
  Design design;
  int colourCount = 0;
  int charsPerPixel = 0;
  if (lines.empty() ||
      std::sscanf(lines[0], "%d %d %d %d", &design.width, &design.height, &colourCount,
                  &charsPerPixel) != 4 ||
      design.width <= 0 || design.height <= 0 || colourCount <= 0 || charsPerPixel <= 0 ||
      lines.size() != 1 + static_cast<std::size_t>(colourCount + design.height)) {
    error = "the icon's XPM header does not match its lines";
    return std::nullopt;
  }
  const auto width = static_cast<std::size_t>(charsPerPixel);
  std::vector<std::pair<std::string, std::optional<layout::Rgb>>> palette;
  for (int i = 1; i <= colourCount; ++i) {
    const std::string_view line = lines[static_cast<std::size_t>(i)];
    std::istringstream rest{std::string(line.substr(std::min(width, line.size())))};
    std::string kind;
    std::string value;
    if (line.size() < width || !(rest >> kind >> value) || kind != "c") {
      error = "the icon's colour line \"" + std::string(line) + "\" is not \"key c value\"";
      return std::nullopt;
    }
    std::optional<layout::Rgb> colour;
    if (value != "None" && !(colour = ParseHexColour(value))) {
      error = "the icon's colour \"" + value + "\" is neither None nor #RRGGBB";
      return std::nullopt;
    }
    palette.emplace_back(std::string(line.substr(0, width)), colour);
  }
  for (std::size_t row = 0; row < static_cast<std::size_t>(design.height); ++row) {
    const std::string_view line = lines[1 + static_cast<std::size_t>(colourCount) + row];
    if (line.size() != width * static_cast<std::size_t>(design.width)) {
      error = "the icon's row " + std::to_string(row) + " is not " + std::to_string(design.width) +
              " pixels wide";
      return std::nullopt;
    }
    for (std::size_t at = 0; at < line.size(); at += width) {
      const auto key = line.substr(at, width);
      const auto found = std::find_if(palette.begin(), palette.end(),
                                      [&](const auto& entry) { return entry.first == key; });
      if (found == palette.end()) {
        error = "the icon's pixel \"" + std::string(key) + "\" has no colour";
        return std::nullopt;
      }
      design.pixels.push_back(found->second);
    }
  }
  return design;
}

// How far the farthest corner of an opaque pixel lies from the design's
// centre, in design pixels.
double OpaqueReach(const Design& design) {
  double reach = 0;
  for (int y = 0; y < design.height; ++y) {
    for (int x = 0; x < design.width; ++x) {
      if (!design.pixels[static_cast<std::size_t>(y * design.width + x)]) continue;
      for (int cornerY : {y, y + 1}) {
        for (int cornerX : {x, x + 1}) {
          reach = std::max(reach,
                           std::hypot(cornerX - design.width / 2.0, cornerY - design.height / 2.0));
        }
      }
    }
  }
  return reach;
}

int ScaleOf(const Design& design, const Icon& icon) {
  const int square = icon.size / std::max(design.width, design.height);
  if (icon.fit == Fit::Square) return square;
  const double reach = OpaqueReach(design);
  if (reach == 0) return square;
  return std::min(square, static_cast<int>(std::floor(kSafeRadiusShare * icon.size / reach)));
}

RgbaImage Draw(const Design& design, const Icon& icon, layout::Rgb window) {
  const int scale = ScaleOf(design, icon);
  const int left = (icon.size - design.width * scale) / 2;
  const int top = (icon.size - design.height * scale) / 2;
  RgbaImage image{icon.size, icon.size, {}};
  image.rgba.reserve(static_cast<std::size_t>(icon.size) * icon.size * kBytesPerPixel);
  for (int y = 0; y < icon.size; ++y) {
    for (int x = 0; x < icon.size; ++x) {
      std::optional<layout::Rgb> pixel;
      const int designX = x - left;
      const int designY = y - top;
      if (designX >= 0 && designY >= 0 && designX < design.width * scale &&
          designY < design.height * scale) {
        pixel = design.pixels[static_cast<std::size_t>((designY / scale) * design.width +
                                                       designX / scale)];
      }
      if (!pixel && icon.backdrop == Backdrop::Window) pixel = window;
      if (pixel) {
        image.rgba.insert(image.rgba.end(), {pixel->red, pixel->green, pixel->blue, kOpaque});
      } else {
        image.rgba.insert(image.rgba.end(), kBytesPerPixel, 0);
      }
    }
  }
  return image;
}

std::string CssHex(layout::Rgb colour) {
  char text[kHexRgbDigits + 2];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
  return text;
}

std::string Manifest(layout::Rgb window) {
  std::string out = "{\n";
  const auto field = [&](std::string_view name, std::string_view value) {
    out += "  " + JsonText(name) + ": " + JsonText(value) + ",\n";
  };
  field("name", layout::Title());
  field("short_name", kShortName);
  field("lang", kLanguage);
  field("start_url", kStartUrl);
  field("scope", kScope);
  field("display", kDisplay);
  // The window's own background, behind the app while it starts and in its
  // title bar, as in the desktop editions.
  field("theme_color", CssHex(window));
  field("background_color", CssHex(window));
  out += "  \"icons\": [";
  bool first = true;
  for (const Icon& icon : kIcons) {
    if (icon.purpose.empty()) continue;
    const std::string size = std::to_string(icon.size);
    out += first ? "\n" : ",\n";
    first = false;
    out += "    {\"src\": " + JsonText(icon.file) + ", \"sizes\": " + JsonText(size + 'x' + size) +
           ", \"type\": \"image/png\", \"purpose\": " + JsonText(icon.purpose) + '}';
  }
  return out + "\n  ]\n}\n";
}

bool WriteFile(const std::string& path, const void* data, std::size_t size) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(file.flush());
}

}  // namespace
}  // namespace velmorida::web

int main(int argc, char* argv[]) {
  using namespace velmorida;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  const std::string folder = std::string(argv[1]) + '/';
  const colours::ControlColours window = colours::WindowColours(colours::Contrast::Ordinary);
  const auto* background = std::get_if<layout::Rgb>(&window.background);
  if (background == nullptr) {
    std::fprintf(stderr, "the window's background is the desktop's, not a colour of its own\n");
    return 1;
  }
  std::string error;
  const auto design = web::ReadXpm(velmorida_xpm, error);
  if (!design) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  for (const web::Icon& icon : web::kIcons) {
    const std::vector<std::uint8_t> png = web::EncodePng(web::Draw(*design, icon, *background));
    if (!web::WriteFile(folder + std::string(icon.file), png.data(), png.size())) {
      std::fprintf(stderr, "could not write %s%s\n", folder.c_str(),
                   std::string(icon.file).c_str());
      return 1;
    }
  }
  const std::string manifest = web::Manifest(*background);
  if (!web::WriteFile(folder + std::string(web::kManifestFile), manifest.data(), manifest.size())) {
    std::fprintf(stderr, "could not write %smanifest\n", folder.c_str());
    return 1;
  }
  return 0;
}
