// What a screen reader is told of a control beyond what Windows tells by
// itself: the control's standard accessible object, with the name or the
// description replaced. Windows names a drop-down list by its chosen item and
// gives a box no description; the calculator names each unit list by its
// caption and describes the read-out with its unit, as on Linux.
#pragma once

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

}  // namespace velmorida::win32
