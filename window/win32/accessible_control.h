// What a screen reader is told of a control beyond what Windows tells by
// itself: the control's standard accessible object, with the name or the
// description replaced. Windows names a drop-down list by its chosen item and
// gives a box no description; the calculator names each unit list by its
// caption and describes the read-out with its unit, as on Linux. Beside it,
// what a screen reader is told without a move of the focus: a text raised as a
// UI Automation notification. Neither decides what is said.
#pragma once

#include <uiautomationcore.h>
#include <windows.h>

#include <functional>
#include <string>

namespace velmorida::win32 {

struct AccessibleTexts {
  std::function<std::wstring()> name;         // empty: the standard name
  std::function<std::wstring()> description;  // empty: the standard description
};

// The answer to WM_GETOBJECT for `control`: its standard client object with
// `texts` in place, or 0 (let the control answer) for any other object id.
LRESULT AnswerGetObject(HWND control, WPARAM wParam, LPARAM lParam, const AccessibleTexts& texts);

// Speaks texts through UiaRaiseNotificationEvent (Windows 10 1709 and later).
// The functions are looked up at run time in the system directory's
// uiautomationcore.dll, so that the program starts and works, silently, where
// they are missing (older Windows, Wine).
class Announcer {
 public:
  Announcer();
  ~Announcer();
  Announcer(const Announcer&) = delete;
  Announcer& operator=(const Announcer&) = delete;

  // Raises `text` on `window`, unless it is empty. Each text replaces one
  // not yet spoken, so that fast typing speaks only the latest.
  void Say(HWND window, const std::wstring& text) const;

 private:
  using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
  using RaiseNotificationEvent = HRESULT(WINAPI*)(IRawElementProviderSimple*, int, int, BSTR, BSTR);
  HMODULE library_ = nullptr;
  HostProviderFromHwnd hostProvider_ = nullptr;
  RaiseNotificationEvent raise_ = nullptr;
};

}  // namespace velmorida::win32
