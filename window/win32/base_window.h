// A top-level window class for a C++ object: registers the class, creates the
// window and routes its messages to the object's HandleMessage. The object
// owns nothing of the window but its handle.
#pragma once

#include <windows.h>

namespace velmorida::win32 {

template <class Derived>
class BaseWindow {
 public:
  HWND Window() const { return hwnd_; }

 protected:
  BaseWindow() = default;
  ~BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  bool Register(HINSTANCE instance, HICON icon, HICON smallIcon, HBRUSH background) const {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = Derived::kClassName;
    return RegisterClassExW(&windowClass) != 0;
  }

  // At the place Windows picks for a new window, `width` x `height` outside.
  HWND CreateTopLevel(HINSTANCE instance, const wchar_t* caption, DWORD style, int width,
                      int height) {
    return CreateWindowExW(0, Derived::kClassName, caption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                           width, height, nullptr, nullptr, instance, this);
  }

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      self = static_cast<Derived*>(static_cast<BaseWindow*>(create->lpCreateParams));
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
  }
};

}  // namespace velmorida::win32
