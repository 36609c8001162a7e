// A stand-in for Windows' uiautomationcore.dll in the Wine test prefix, whose
// own library has no notification event: the two functions the calculator
// looks up, writing each notification's text as a line of UTF-8 to the file
// that VELMORIDA_SPOKEN names. It speaks nothing and checks no caller.
#include <ole2.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "window/win32/utf16.h"

namespace {

// The window's provider: the calculator only hands it back and releases it.
class Provider final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

Provider provider;

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    UiaHostProviderFromHwnd(HWND window, IUnknown** found) {
  if (found == nullptr) return E_INVALIDARG;
  *found = IsWindow(window) ? &provider : nullptr;
  return *found != nullptr ? S_OK : E_INVALIDARG;
}

extern "C" __declspec(dllexport) HRESULT WINAPI
    UiaRaiseNotificationEvent(IUnknown* from, int /*kind*/, int /*processing*/, BSTR text,
                              BSTR /*activity*/) {
  if (from == nullptr || text == nullptr) return E_INVALIDARG;
  if (const wchar_t* path = _wgetenv(L"VELMORIDA_SPOKEN")) {
    std::ofstream(std::filesystem::path(path), std::ios::app | std::ios::binary)
        << velmorida::win32::Narrow({text, SysStringLen(text)}) << '\n';
  }
  return S_OK;
}
