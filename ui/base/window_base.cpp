// window_base.cpp - a window as a C++ object, with the one place where handler errors are caught.
#include "ui/base/window_base.h"

#include <exception>

#include "program/program_title.h"
#include "ui/base/contrast_colours.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

std::string& TitleStore() {
  static std::string title;
  return title;
}

}  // namespace

void SetProgramTitle(std::string cp1250Title) {
  TitleStore() = std::move(cp1250Title);
}

void ShowErrorBox(HWND owner, const std::string& cp1250Message) {
  MessageBoxW(owner, win::Widen(ErrorBoxText(cp1250Message)).c_str(),
              win::Widen(TitleStore()).c_str(), MB_OK | MB_ICONERROR);
}

void ShowCaughtError(HWND owner) {
  try {
    throw;
  } catch (const std::exception& error) {
    ShowErrorBox(owner, error.what());
  } catch (...) {
    ShowErrorBox(owner, "Unknown error");
  }
}

void WindowBase::RegisterClassOnce(const wchar_t* className, HBRUSH background, HICON icon) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.lpszClassName = className;
  RegisterClassExW(&wc);
}

HWND WindowBase::CreateFor(const wchar_t* className, const wchar_t* caption, DWORD style,
                           DWORD exStyle, int x, int y, int width, int height, HWND parent) {
  return CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, nullptr,
                         GetModuleHandleW(nullptr), this);
}

bool WindowBase::PreTranslate(const MSG& msg) {
  HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  // Only a window of a class registered here holds a WindowBase in its user data.
  if (root == nullptr ||
      reinterpret_cast<WNDPROC>(GetClassLongPtrW(root, GCLP_WNDPROC)) != WindowProc) {
    return false;
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(root, GWLP_USERDATA));
  if (self == nullptr) return false;
  try {
    return self->TakeQueuedMessage(msg);
  } catch (...) {
    ShowCaughtError(root);
  }
  return true;
}

// Errors never cross a frame that Windows owns: whatever a handler throws is shown here and the
// program carries on.
LRESULT CALLBACK WindowBase::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    // A theme change repaints every window, whatever the window itself did with it.
    FollowColourChange(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  } catch (...) {
    ShowCaughtError(hwnd);
  }
  return 0;
}

}  // namespace sipo::ui
