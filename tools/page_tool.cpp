// Build tool: writes the page, one HTML file, from the shell, the page's
// compiled script and the core's WebAssembly.
//
//   page_tool SHELL.html SCRIPT.js CORE.wasm PAGE.html
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "window/web/page_markup.h"

namespace {

constexpr int kArguments = 5;

std::optional<std::string> Read(const char* path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != kArguments) {
    std::fprintf(stderr, "usage: page_tool SHELL.html SCRIPT.js CORE.wasm PAGE.html\n");
    return 2;
  }
  const std::optional<std::string> shell = Read(argv[1]);
  const std::optional<std::string> script = Read(argv[2]);
  const std::optional<std::string> core = Read(argv[3]);
  if (!shell || !script || !core) {
    std::fprintf(stderr, "page_tool: cannot read the shell, the script or the core\n");
    return 1;
  }
  const std::vector<unsigned char> bytes(core->begin(), core->end());
  const std::optional<std::string> page = velmorida::web::AssemblePage(*shell, *script, bytes);
  if (!page) {
    std::fprintf(stderr,
                 "page_tool: the shell lacks a placeholder, or the script holds </script\n");
    return 1;
  }
  std::ofstream out(argv[4], std::ios::binary);
  out << *page;
  return out ? 0 : 1;
}
