// Reads the running calculator's window from another process, as a test sees
// it: each control's text, selection, place and visibility, the focus, and
// the accessible names a screen reader reads (through oleacc). It changes
// nothing in the window but its dpi, when asked to.
#include <fcntl.h>
#include <io.h>
#include <oleacc.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "window/layout.h"
#include "window/win32/utf16.h"

namespace {

using velmorida::layout::Control;
using velmorida::layout::kControls;
using velmorida::win32::Narrow;
using Readings = std::map<std::string, std::string>;

// A wait gives up after a time on the clock: a busy machine may take seconds,
// and a reading of every control's accessible texts a good part of one, so
// counting the polls' pauses would stretch a wait to minutes.
constexpr int kWaitMilliseconds = 15000;
constexpr int kPollMilliseconds = 20;
struct Deadline {
  ULONGLONG end = GetTickCount64() + kWaitMilliseconds;
  bool Passed() const { return GetTickCount64() > end; }
};
constexpr UINT kMessageTimeout = 1000;

HWND FindCalculator() {
  return FindWindowW(L"frmVelmorida", nullptr);
}

// A control's text: the longest a test reads is the read-out's figure.
std::string TextOf(HWND window) {
  wchar_t text[256] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, kMessageTimeout, &copied)) {
    return "?";
  }
  return Narrow(std::wstring_view(text, copied));
}

std::string RectIn(HWND parent, HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right - r.left) + "," + std::to_string(r.bottom - r.top);
}

// The accessible name and description of the control or of an inner part.
std::pair<std::string, std::string> AccessibleTexts(HWND control, LONG part = CHILDID_SELF) {
  IAccessible* accessible = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&accessible)))) {
    return {"?", "?"};
  }
  VARIANT which{};
  which.vt = VT_I4;
  which.lVal = part;
  const auto read = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR text = nullptr;
    std::string result;
    if (SUCCEEDED((accessible->*get)(which, &text)) && text != nullptr) {
      result = Narrow(std::wstring_view(text, SysStringLen(text)));
      SysFreeString(text);
    }
    return result;
  };
  std::pair<std::string, std::string> texts{read(&IAccessible::get_accName),
                                            read(&IAccessible::get_accDescription)};
  accessible->Release();
  return texts;
}

// Keys: NAME (text; a list's chosen item), NAME.sel ("start,end"),
// NAME.shown (0/1), NAME.rect ("left,top,width,height" in the client area),
// NAME.name and NAME.description, NAME.field.name (of a list's field, its
// first inner part), focus, client ("451x201"), title (the window's own
// text, blanks and all), window ("open" or "gone").
Readings Read(bool withNames) {
  Readings readings;
  HWND window = FindCalculator();
  readings["window"] = window != nullptr ? "open" : "gone";
  if (window == nullptr) return readings;
  RECT client{};
  GetClientRect(window, &client);
  readings["client"] = std::to_string(client.right) + "x" + std::to_string(client.bottom);
  readings["title"] = TextOf(window);
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
  readings["focus"] = "";
  for (const Control& control : kControls) {
    const std::string name(control.name);
    HWND child = GetDlgItem(window, static_cast<int>(control.id));
    if (child == nullptr) continue;
    const auto key = [&name](std::string_view suffix) { return std::string(name).append(suffix); };
    readings[name] = TextOf(child);
    readings[key(".shown")] = std::to_string(IsWindowVisible(child) ? 1 : 0);
    readings[key(".rect")] = RectIn(window, child);
    if (control.kind == velmorida::layout::ControlKind::InputBox ||
        control.kind == velmorida::layout::ControlKind::ReadOut) {
      DWORD_PTR selection = 0;
      SendMessageTimeoutW(child, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeout, &selection);
      readings[key(".sel")] =
          std::to_string(LOWORD(selection)) + "," + std::to_string(HIWORD(selection));
    }
    if (thread.hwndFocus == child) readings["focus"] = name;
    if (withNames) {
      std::tie(readings[key(".name")], readings[key(".description")]) = AccessibleTexts(child);
      if (control.kind == velmorida::layout::ControlKind::UnitList) {
        readings[key(".field.name")] = AccessibleTexts(child, 1).first;
      }
    }
  }
  return readings;
}

int Wait(const std::vector<std::string>& conditions) {
  const bool withNames = std::any_of(conditions.begin(), conditions.end(), [](const auto& c) {
    return c.find(".name=") != std::string::npos || c.find(".description=") != std::string::npos;
  });
  std::vector<std::string> unmet;
  for (const Deadline deadline; !deadline.Passed();) {
    const Readings readings = Read(withNames);
    unmet.clear();
    for (const std::string& condition : conditions) {
      const auto found = readings.find(condition.substr(0, condition.find('=')));
      const std::string now =
          found == readings.end() ? "nothing" : found->first + "=" + found->second;
      if (now != condition) unmet.push_back("wanted " + condition + ", found " + now);
    }
    if (unmet.empty()) {
      // Once the window's thread is between messages: a message from another
      // thread waits until the one in hand is handled, with all it says.
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(FindCalculator(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeout,
                          &ignored);
      return 0;
    }
    Sleep(kPollMilliseconds);
  }
  for (const std::string& line : unmet) std::printf("%s\n", line.c_str());
  // Everything the window held, to tell a stale input from a wrong answer.
  for (const auto& [key, value] : Read(true)) std::printf("%s=%s\n", key.c_str(), value.c_str());
  return 1;
}

// The clipboard is owned by a window of the reader's: one opened without a
// window cannot be given data. Wine's own clipboard process may hold it open
// for a moment.
int SetClipboard(const std::string& hex) {
  std::string text;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  const std::wstring wide = velmorida::win32::Widen(text);
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  static HWND owner =
      CreateWindowW(L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
  for (const Deadline deadline; !OpenClipboard(owner); Sleep(kPollMilliseconds)) {
    if (data == nullptr || deadline.Passed()) return 1;
  }
  std::memcpy(GlobalLock(data), wide.c_str(), bytes);
  GlobalUnlock(data);
  const bool set = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, data) != nullptr;
  CloseClipboard();
  return set ? 0 : 1;
}

// The message points to the window's rectangle for the new dpi in the
// window's own process: its corner and frame kept, the layout's client area
// at that dpi.
int ChangeDpi(int dpi) {
  using velmorida::layout::kClientArea;
  using velmorida::layout::TwipsToPixels;
  HWND window = FindCalculator();
  RECT outer{};
  RECT client{};
  if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client)) return 1;
  const RECT suggested{outer.left, outer.top,
                       outer.right - client.right + TwipsToPixels(kClientArea.width, dpi),
                       outer.bottom - client.bottom + TwipsToPixels(kClientArea.height, dpi)};
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) return 1;
  void* remote = VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
  DWORD_PTR ignored = 0;
  const bool sent = remote != nullptr &&
                    WriteProcessMemory(process, remote, &suggested, sizeof suggested, nullptr) &&
                    SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                                        reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                                        kMessageTimeout, &ignored) != 0;
  if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return sent ? 0 : 1;
}

// "end" is where a click puts a box's caret after its text. An open list is
// a top-level window, the first of its class once it is shown on top of the
// others; its place and item height are read without pointers, which Wine
// does not carry across processes for the list messages.
int Point(const std::string& name, const std::string& where) {
  const Control* control = velmorida::layout::RowNamed(name);
  HWND window = FindCalculator();
  if (control == nullptr || window == nullptr) return 1;
  HWND child = GetDlgItem(window, static_cast<int>(control->id));
  RECT r{};
  GetWindowRect(child, &r);
  POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  constexpr int kInsideTheBorder = 4;
  if (where == "end") {
    at.x = r.right - kInsideTheBorder;
  } else if (!where.empty()) {
    HWND list = nullptr;
    for (const Deadline deadline; !IsWindowVisible(list); Sleep(kPollMilliseconds)) {
      if (deadline.Passed()) return 1;
      list = FindWindowW(L"ComboLBox", nullptr);
    }
    const auto itemHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    RECT client{};
    GetClientRect(list, &client);
    at = {client.right / 2, itemHeight * std::stoi(where) + itemHeight / 2};
    ClientToScreen(list, &at);
  }
  std::printf("%ld %ld\n", at.x, at.y);
  return 0;
}

// One process answers a whole test, as a Wine process takes longer to start
// than most requests: a request a line on standard input, its words split by
// tabs, and each answer ends with a line "END status" (0 when it holds).
//   wait KEY=VALUE...    waits until every reading holds; else prints what
//                        differs and everything the window holds
//   point NAME [ITEM]    "x y": the screen point at the middle of a control,
//                        just inside its right end (ITEM "end"), or at the
//                        middle of item ITEM of its open list
//   clipboard HEX        puts the text of UTF-8 bytes HEX on the clipboard,
//                        exactly, as another program's copy does
//   dpi DPI              sends WM_DPICHANGED as Windows does when the window
//                        moves to a monitor of that dpi
int Answer(const std::vector<std::string>& args) {
  if (!args.empty() && args[0] == "wait") return Wait({args.begin() + 1, args.end()});
  if (args.size() == 2 && args[0] == "clipboard") return SetClipboard(args[1]);
  if (args.size() == 2 && args[0] == "dpi") return ChangeDpi(std::stoi(args[1]));
  if (args.size() >= 2 && args[0] == "point") return Point(args[1], args.size() > 2 ? args[2] : "");
  std::printf("no such request\n");
  return 2;
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  CoInitialize(nullptr);  // for the accessible names
  for (std::string line; std::getline(std::cin, line);) {
    std::vector<std::string> args;
    std::istringstream words(line);
    for (std::string word; std::getline(words, word, '\t');) args.push_back(word);
    std::printf("END %d\n", Answer(args));
    std::fflush(stdout);
  }
  return 0;
}
