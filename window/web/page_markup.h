// The browser page made from the shared window code at build time: the
// window's markup in its started state, the stylesheet of its places, fonts
// and colour rule, and the one HTML file that holds them with the page's
// script and the core. It holds no state and runs nothing in the browser.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmorida::web {

// The window's elements, each with its layout's id: the captions, boxes with
// "0", lists on their first units, the read-out with its caption and unit,
// named and described for screen readers, in the tab order.
std::string WindowMarkup();

// Each control's place and font, and the colours of every control from the
// colour rule: the window's own in an ordinary scheme, light or dark, the
// desktop's system colours when the browser forces its colours.
std::string PageStylesheet();

// The page: `shell` with its placeholders filled (the title, the stylesheet,
// the window, the script and the core's WebAssembly as base64). Nothing
// when a placeholder is missing or the script would end its own element.
std::optional<std::string> AssemblePage(std::string_view shell, std::string_view script,
                                        std::span<const unsigned char> core);

std::string Base64(std::span<const unsigned char> bytes);

}  // namespace velmorida::web
