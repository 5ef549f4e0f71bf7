// on_demand_dlls.cpp - the shell, file-dialog, COM, accessibility and version-resource calls, each
// library loaded by its first call.
#include "win/on_demand_dlls.h"

#include <oleacc.h>
#include <oleauto.h>
#include <propidl.h>
#include <winver.h>

namespace sipo::win {
namespace {

// The function from the system's own copy of the library, or nullptr; looked up once per function
// (a function-local static is set once, whichever thread gets there first).
template <typename Function>
Function Resolve(const wchar_t* library, const char* name) {
  HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module != nullptr
             ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
             : nullptr;
}

#define SIPO_ON_DEMAND(library, name) \
  static const auto call = Resolve<decltype(&::name)>(library, #name)

}  // namespace

void ShellOpen(const std::wstring& address) {
  SIPO_ON_DEMAND(L"shell32.dll", ShellExecuteW);
  if (call != nullptr) call(nullptr, L"open", address.c_str(), L"", L"", SW_SHOWNORMAL);
}

UINT DroppedFileName(HDROP drop, UINT index, wchar_t* buffer, UINT size) {
  SIPO_ON_DEMAND(L"shell32.dll", DragQueryFileW);
  return call != nullptr ? call(drop, index, buffer, size) : 0;
}

void FinishDrop(HDROP drop) {
  SIPO_ON_DEMAND(L"shell32.dll", DragFinish);
  if (call != nullptr) call(drop);
}

BOOL AskOpenFileName(OPENFILENAMEW* dialog) {
  SIPO_ON_DEMAND(L"comdlg32.dll", GetOpenFileNameW);
  return call != nullptr ? call(dialog) : FALSE;
}

DWORD OpenFileNameError() {
  SIPO_ON_DEMAND(L"comdlg32.dll", CommDlgExtendedError);
  return call != nullptr ? call() : 0;
}

HRESULT ComInitialize(DWORD model) {
  SIPO_ON_DEMAND(L"ole32.dll", CoInitializeEx);
  return call != nullptr ? call(nullptr, model) : E_FAIL;
}

void ComUninitialize() {
  SIPO_ON_DEMAND(L"ole32.dll", CoUninitialize);
  if (call != nullptr) call();
}

HRESULT ComCreateInstance(REFCLSID cls, IUnknown* outer, DWORD context, REFIID iid, void** object) {
  SIPO_ON_DEMAND(L"ole32.dll", CoCreateInstance);
  return call != nullptr ? call(cls, outer, context, iid, object) : E_FAIL;
}

HRESULT ClearPropVariant(PROPVARIANT* value) {
  SIPO_ON_DEMAND(L"ole32.dll", PropVariantClear);
  return call != nullptr ? call(value) : E_FAIL;
}

HRESULT StandardAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object) {
  SIPO_ON_DEMAND(L"oleacc.dll", CreateStdAccessibleObject);
  return call != nullptr ? call(window, objectId, iid, object) : E_FAIL;
}

LRESULT AccessibleResult(REFIID iid, WPARAM wParam, IUnknown* object) {
  SIPO_ON_DEMAND(L"oleacc.dll", LresultFromObject);
  return call != nullptr ? call(iid, wParam, object) : E_FAIL;
}

BSTR AllocateBstr(const std::wstring& text) {
  SIPO_ON_DEMAND(L"oleaut32.dll", SysAllocStringLen);
  return call != nullptr ? call(text.data(), static_cast<UINT>(text.size())) : nullptr;
}

DWORD FileVersionInfoSize(const wchar_t* path) {
  SIPO_ON_DEMAND(L"version.dll", GetFileVersionInfoSizeW);
  DWORD ignored = 0;
  return call != nullptr ? call(path, &ignored) : 0;
}

BOOL FileVersionInfo(const wchar_t* path, DWORD size, void* block) {
  SIPO_ON_DEMAND(L"version.dll", GetFileVersionInfoW);
  return call != nullptr ? call(path, 0, size, block) : FALSE;
}

BOOL QueryVersionValue(const void* block, const wchar_t* subBlock, void** value, UINT* length) {
  SIPO_ON_DEMAND(L"version.dll", VerQueryValueW);
  return call != nullptr ? call(block, subBlock, value, length) : FALSE;
}

}  // namespace sipo::win
