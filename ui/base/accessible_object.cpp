// accessible_object.cpp - what a screen reader is told about an owner-drawn control: the system's
// standard object for the control, with the name, role, value and default action overridden.
#include "ui/base/accessible_object.h"

#include "win/callback_guard.h"
#include "win/on_demand_dlls.h"
#include "win/win_text.h"

// The interfaces are named by __uuidof throughout: MinGW's oleacc import library gives
// IID_IAccessible as the address of an import thunk, not of the interface's GUID.

namespace sipo::ui {
namespace {

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT CopyText(const std::wstring& text, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = win::AllocateBstr(text);
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// Forwards every call to the standard object except those for the control itself that look
// overrides. IOleWindow is answered here, so that the object keeps one identity.
class AccessibleOverride final : public IAccessible, public IOleWindow {
 public:
  AccessibleOverride(HWND control, IAccessible* standard, const AccessibleLook& look)
      : control_(control), standard_(standard), look_(look) {}
  AccessibleOverride(const AccessibleOverride&) = delete;
  AccessibleOverride& operator=(const AccessibleOverride&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
    } else if (iid == __uuidof(IOleWindow)) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
    if (out == nullptr) return E_POINTER;
    *out = control_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** out) override {
    return standard_->GetTypeInfo(index, locale, out);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* error,
                                   UINT* badArgument) override {
    return standard_->Invoke(id, iid, locale, flags, params, result, error, badArgument);
  }

  // IAccessible: what the look overrides. The texts are C++ strings and the caller may be another
  // process, so an exception in making one ends in the method as a failure.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    if (!IsSelf(child)) return standard_->get_accName(child, out);
    return win::GuardCallback(E_OUTOFMEMORY, [&] {
      return CopyText(look_.name.empty() ? win::GetWideText(control_) : look_.name, out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    if (!IsSelf(child) || look_.role == 0) return standard_->get_accRole(child, out);
    if (out == nullptr) return E_POINTER;
    out->vt = VT_I4;
    out->lVal = look_.role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    if (!IsSelf(child) || look_.value.empty()) return standard_->get_accValue(child, out);
    return win::GuardCallback(E_OUTOFMEMORY, [&] { return CopyText(look_.value, out); });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    if (!IsSelf(child) || look_.defaultAction.empty()) {
      return standard_->get_accDefaultAction(child, out);
    }
    return win::GuardCallback(E_OUTOFMEMORY, [&] { return CopyText(look_.defaultAction, out); });
  }
  // Posted, as a click's notification would be: the caller is not held while the parent acts.
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!IsSelf(child) || look_.actionNotification == 0) {
      return standard_->accDoDefaultAction(child);
    }
    const WPARAM command = MAKEWPARAM(GetDlgCtrlID(control_), look_.actionNotification);
    return PostMessageW(GetParent(control_), WM_COMMAND, command,
                        reinterpret_cast<LPARAM>(control_))
               ? S_OK
               : E_FAIL;
  }

  // IAccessible: the standard object's answers
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
    return standard_->get_accParent(out);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* out) override {
    return standard_->get_accChildCount(out);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return standard_->get_accChild(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return standard_->get_accDescription(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    return standard_->get_accState(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
    return standard_->get_accHelp(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return standard_->get_accKeyboardShortcut(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    return standard_->get_accFocus(out);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    return standard_->get_accSelection(out);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) override {
    return standard_->accNavigate(direction, start, out);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
    return standard_->accHitTest(x, y, out);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~AccessibleOverride() { standard_->Release(); }

  HWND control_;
  IAccessible* standard_;
  AccessibleLook look_;
  LONG references_ = 1;
};

// Handing an object to another process takes COM on the window's thread; started once, for as
// long as the thread lives (a second start on the thread only counts up).
bool ComReadyOnThisThread() {
  thread_local const bool ready = SUCCEEDED(win::ComInitialize(COINIT_APARTMENTTHREADED));
  return ready;
}

}  // namespace

LRESULT AnswerAccessibleObject(HWND control, WPARAM wParam, LPARAM lParam,
                               const AccessibleLook& look) {
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT || !ComReadyOnThisThread()) {
    return 0;
  }
  void* standard = nullptr;
  if (FAILED(
          win::StandardAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible), &standard))) {
    return 0;
  }
  auto* object = new AccessibleOverride(control, static_cast<IAccessible*>(standard), look);
  const LRESULT result =
      win::AccessibleResult(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
  object->Release();  // the answer holds its own reference
  return result > 0 ? result : 0;
}

}  // namespace sipo::ui
