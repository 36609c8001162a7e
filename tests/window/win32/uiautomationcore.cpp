// A stand-in for Windows' uiautomationcore.dll in the Wine test prefix, whose
// own library has no notification event: the two functions the calculator
// looks up, writing each notification's text as a line of UTF-8 to the file
// that VELMORIDA_SPOKEN names. It speaks nothing and checks no caller.
#include <windows.h>

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

void WriteLine(const wchar_t* text, int length) {
  wchar_t path[MAX_PATH];
  if (GetEnvironmentVariableW(L"VELMORIDA_SPOKEN", path, MAX_PATH) == 0) return;
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  char line[1024];
  int bytes =
      WideCharToMultiByte(CP_UTF8, 0, text, length, line, sizeof line - 1, nullptr, nullptr);
  line[bytes++] = '\n';
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(bytes), &written, nullptr);
  CloseHandle(file);
}

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
  WriteLine(text, static_cast<int>(SysStringLen(text)));
  return S_OK;
}
