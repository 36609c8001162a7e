// Build tool of the web edition: writes the web app's manifest into the
// site's folder. The name and colours come from the shared layout and colour
// rule and the icons from the table icon_export draws them by, so nothing
// here is typed twice; it writes neither the icons, the page nor its worker.
//
//   web_manifest OUTPUT_DIR
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "tools/web_icons.h"
#include "window/layout.h"
#include "window/web/json_text.h"

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
constexpr int kHexRgbDigits = 6;

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
  for (const WebIcon& icon : kWebIcons) {
    if (icon.purpose.empty()) continue;
    const std::string size = std::to_string(icon.size);
    out += first ? "\n" : ",\n";
    first = false;
    out += "    {\"src\": " + JsonText(icon.file) + ", \"sizes\": " + JsonText(size + 'x' + size) +
           ", \"type\": \"image/png\", \"purpose\": " + JsonText(icon.purpose) + '}';
  }
  return out + "\n  ]\n}\n";
}

}  // namespace
}  // namespace velmorida::web

int main(int argc, char* argv[]) {
  using namespace velmorida;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  const std::optional<layout::Rgb> background = web::WindowBackground();
  if (!background) {
    std::fprintf(stderr, "the window's background is the desktop's, not a colour of its own\n");
    return 1;
  }
  const std::string path = std::string(argv[1]) + '/' + std::string(web::kManifestFile);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << web::Manifest(*background);
  if (!file.flush()) {
    std::fprintf(stderr, "could not write %s\n", path.c_str());
    return 1;
  }
  return 0;
}
