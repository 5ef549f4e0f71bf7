// on_demand_dlls.h - the shell, file-dialog, COM, accessibility and version-resource calls, each
// library loaded by its first call.
// The first screen needs none of them, and loading them with the program would hold up its start.
#pragma once

#include <windows.h>
// commdlg.h and shellapi.h need windows.h before them.
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

namespace sipo::win {

// The desktop's "open" action on an address; its result is not looked at.
void ShellOpen(const std::wstring& address);

// The file name at index of a drop (DragQueryFileW), and the end of the drop (DragFinish).
UINT DroppedFileName(HDROP drop, UINT index, wchar_t* buffer, UINT size);
void FinishDrop(HDROP drop);

// The file-open dialog (GetOpenFileNameW) and the reason it last failed (CommDlgExtendedError).
BOOL AskOpenFileName(OPENFILENAMEW* dialog);
DWORD OpenFileNameError();

// CoInitializeEx, CoUninitialize, CoCreateInstance and PropVariantClear.
HRESULT ComInitialize(DWORD model);
void ComUninitialize();
HRESULT ComCreateInstance(REFCLSID cls, IUnknown* outer, DWORD context, REFIID iid, void** object);
HRESULT ClearPropVariant(PROPVARIANT* value);

// CreateStdAccessibleObject and LresultFromObject (oleacc), and SysAllocString (oleaut32).
HRESULT StandardAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object);
LRESULT AccessibleResult(REFIID iid, WPARAM wParam, IUnknown* object);
BSTR AllocateBstr(const std::wstring& text);

// GetFileVersionInfoSizeW, GetFileVersionInfoW and VerQueryValueW (version), which only the About
// window uses.
DWORD FileVersionInfoSize(const wchar_t* path);
BOOL FileVersionInfo(const wchar_t* path, DWORD size, void* block);
BOOL QueryVersionValue(const void* block, const wchar_t* subBlock, void** value, UINT* length);

}  // namespace sipo::win
