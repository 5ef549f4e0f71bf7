// main.cpp - program entry: the title, the main window and the event loop.
#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include <exception>
#include <string>

#include "files/interruption.h"
#include "files/native_path.h"
#include "program/program_title.h"
#include "resources/picture_ids.h"
#include "settings/program_dir.h"
#include "ui/base/start_steps.h"
#include "ui/base/window_base.h"
#include "ui/forms/main_form.h"
#include "win/final_path.h"
#include "win/win_text.h"

namespace {

std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

int RunEventLoop(HWND mainWindow) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (sipo::ui::WindowBase::PreTranslate(msg)) continue;
    // Tab, arrow keys and button keys move between controls as in a dialog, in whichever of the
    // program's windows the message is for.
    HWND window = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : mainWindow;
    if (IsWindow(window) && IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  sipo::ui::MarkStartStep("main");
  const std::string executable = sipo::win::Narrow(ExecutablePath());
  sipo::ui::SetProgramTitle(sipo::ProgramTitle(executable));
  // A file run's output that is a link keeps it, even one that only the system sees.
  sipo::SetLinkResolver(sipo::win::FinalPathOf);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  sipo::ui::MarkStartStep("common");
  HICON icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_SIPO), IMAGE_ICON, 0, 0,
                                             LR_DEFAULTSIZE | LR_SHARED));
  sipo::ui::MainForm mainForm(sipo::ProgramDir(executable));
  try {
    mainForm.Create(icon);
    mainForm.Show(showCommand);
  } catch (const std::exception& error) {
    sipo::ui::ShowErrorBox(nullptr, error.what());
    return 1;
  }
  const int status = RunEventLoop(mainForm.Handle());
  // A file run that was stopped while its read waited for data may still own temporaries.
  sipo::RemoveRegisteredTemporaries();
  return status;
}
