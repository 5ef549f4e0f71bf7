// window_finder.h - finds another program's windows by class, caption and control identifier, for
// the UI tests, the benchmarks and the screenshot driver alike.
#pragma once

#include <windows.h>

#include <string>

namespace sipo::test {

namespace window_finder_detail {

inline std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// A top-level caption is read without a message, so a busy program cannot hold the search.
inline std::wstring CaptionOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

inline DWORD ProcessOf(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  return processId;
}

struct TopSearch {
  DWORD processId;
  const wchar_t* className;
  const wchar_t* caption;  // nullptr: any
  HWND found;
  int count;
};

inline bool Matches(HWND window, const TopSearch& search) {
  return ProcessOf(window) == search.processId && ClassOf(window) == search.className &&
         (search.caption == nullptr || CaptionOf(window) == search.caption);
}

struct ChildSearch {
  int id;
  bool visibleOnly;
  HWND found;
};

}  // namespace window_finder_detail

// A visible top-level window of the process with this class (and caption, unless nullptr).
inline HWND FindVisibleWindow(DWORD processId, const wchar_t* className,
                              const wchar_t* caption = nullptr) {
  using namespace window_finder_detail;
  TopSearch search{processId, className, caption, nullptr, 0};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<TopSearch*>(param);
        if (!IsWindowVisible(window) || !Matches(window, *s)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The same, asked again every pollMs until it shows or timeoutMs have passed.
inline HWND WaitForVisibleWindow(DWORD processId, const wchar_t* className,
                                 const wchar_t* caption = nullptr, DWORD timeoutMs = 20000,
                                 DWORD pollMs = 50) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND found = FindVisibleWindow(processId, className, caption)) return found;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(pollMs);
  }
}

// The process's top-level windows of this class, visible or not.
inline int CountWindowsOfClass(DWORD processId, const wchar_t* className) {
  using namespace window_finder_detail;
  TopSearch search{processId, className, nullptr, nullptr, 0};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<TopSearch*>(param);
        if (Matches(window, *s)) ++s->count;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.count;
}

// The first direct child of parent with this class, or nullptr.
inline HWND FindChildOfClass(HWND parent, const wchar_t* className) {
  return parent != nullptr ? FindWindowExW(parent, nullptr, className, nullptr) : nullptr;
}

// The first control with this identifier anywhere under window (inside panels too), or nullptr.
inline HWND FindControl(HWND window, int id, bool visibleOnly = false) {
  using namespace window_finder_detail;
  ChildSearch search{id, visibleOnly, nullptr};
  if (window == nullptr) return nullptr;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<ChildSearch*>(param);
        if (GetDlgCtrlID(child) != s->id || (s->visibleOnly && !IsWindowVisible(child))) {
          return TRUE;
        }
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace sipo::test
