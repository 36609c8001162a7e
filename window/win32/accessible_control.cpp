#include "window/win32/accessible_control.h"

#include <oleacc.h>

namespace velmorida::win32 {
namespace {

// UI Automation's NotificationKind and NotificationProcessing values, which
// the compiler's headers do not have.
constexpr int kNotificationKindActionCompleted = 2;
constexpr int kNotificationProcessingImportantMostRecent = 1;
// One activity for every figure: a later one replaces an earlier one.
constexpr const wchar_t* kActivityId = L"Velmorida.Result";

// GetProcAddress's untyped pointer as the function it is.
template <class Function>
Function Lookup(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The standard object, every call passed to it but the replaced texts. The
// texts are asked for only while the control exists: a screen reader may
// keep the object longer than the window lives.
class AccessibleControl final : public IAccessible {
 public:
  AccessibleControl(HWND control, IAccessible* standard, AccessibleTexts texts)
      : control_(control), standard_(standard), texts_(std::move(texts)) {}
  AccessibleControl(const AccessibleControl&) = delete;
  AccessibleControl& operator=(const AccessibleControl&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
        riid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    // Other interfaces (IEnumVARIANT, IServiceProvider, ...) are the
    // standard object's own.
    return standard_->QueryInterface(riid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(riid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    return standard_->Invoke(id, riid, locale, flags, parameters, result, exception, argumentError);
  }

  // IAccessible: the two texts.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (IsSelf(child) && texts_.name && IsWindow(control_)) return Give(texts_.name(), name);
    return standard_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (IsSelf(child) && texts_.description && IsWindow(control_)) {
      return Give(texts_.description(), description);
    }
    return standard_->get_accDescription(child, description);
  }

  // IAccessible: the rest as the standard object has it.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
    return standard_->get_accChild(child, dispatch);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~AccessibleControl() { standard_->Release(); }

  static HRESULT Give(const std::wstring& text, BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  HWND control_;
  IAccessible* standard_;
  AccessibleTexts texts_;
  LONG references_ = 1;
};

}  // namespace

LRESULT AnswerGetObject(HWND control, WPARAM wParam, LPARAM lParam, const AccessibleTexts& texts) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT) return 0;
  IAccessible* standard = nullptr;
  if (FAILED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&standard)))) {
    return 0;
  }
  auto* accessible = new AccessibleControl(control, standard, texts);
  const LRESULT answer = LresultFromObject(__uuidof(IAccessible), wParam, accessible);
  accessible->Release();  // the answer holds its own reference
  return answer;
}

// Only from the system directory: a uiautomationcore.dll beside the program
// or in the current folder is never loaded.
Announcer::Announcer()
    : library_(LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
  if (library_ == nullptr) return;
  hostProvider_ = Lookup<HostProviderFromHwnd>(library_, "UiaHostProviderFromHwnd");
  raise_ = Lookup<RaiseNotificationEvent>(library_, "UiaRaiseNotificationEvent");
}

Announcer::~Announcer() {
  if (library_ != nullptr) FreeLibrary(library_);
}

void Announcer::Say(HWND window, const std::wstring& text) const {
  if (text.empty() || hostProvider_ == nullptr || raise_ == nullptr) return;
  IRawElementProviderSimple* provider = nullptr;
  if (FAILED(hostProvider_(window, &provider)) || provider == nullptr) return;
  BSTR spoken = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  BSTR activity = SysAllocString(kActivityId);
  if (spoken != nullptr && activity != nullptr) {
    raise_(provider, kNotificationKindActionCompleted, kNotificationProcessingImportantMostRecent,
           spoken, activity);
  }
  SysFreeString(spoken);
  SysFreeString(activity);
  provider->Release();
}

}  // namespace velmorida::win32
