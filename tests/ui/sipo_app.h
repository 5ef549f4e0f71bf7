// sipo_app.h - drives a real Sipo.exe from a test: each instance starts the program in a fresh
// folder of its own and reaches its windows and controls through ordinary Win32 calls.
#pragma once

#include <windows.h>

#include <string>

namespace sipo::uitest {

class SipoApp {
 public:
  // Copies the program into a new folder, starts it and waits for its main window.
  SipoApp();
  // Starts the program in a folder the test prepared (copying the program there), and leaves the
  // folder in place when it ends, so that a second start finds what the first one stored.
  explicit SipoApp(const std::wstring& folder);
  ~SipoApp();
  SipoApp(const SipoApp&) = delete;
  SipoApp& operator=(const SipoApp&) = delete;

  const std::wstring& Folder() const { return folder_; }
  DWORD ProcessId() const { return process_.dwProcessId; }
  HWND MainWindow() const { return mainWindow_; }

  // A visible top-level window of the program with this class, or nullptr after the timeout.
  HWND WaitForWindow(const wchar_t* className, DWORD timeoutMs = 20000) const;
  // A control of the main window (at any depth) by its identifier; fails the test if missing.
  HWND Control(int id) const;

  std::wstring Text(int id) const;
  void SetText(int id, const std::wstring& text) const;
  void Click(int id) const;
  // Gives the control the keyboard focus, as a click into it would.
  void Focus(int id) const;
  void PressKey(int id, WORD virtualKey) const;

  // Number of screen pixels inside the control that have exactly this colour (0x00BBGGRR).
  int CountPixels(int id, COLORREF colour) const;

  // Waits for the program to end; returns its exit code, or STILL_ACTIVE on timeout.
  DWORD WaitForExit(DWORD timeoutMs = 20000);

 private:
  void Start();

  std::wstring folder_;
  bool keepFolder_ = false;
  PROCESS_INFORMATION process_{};
  HWND mainWindow_ = nullptr;
};

// A new empty folder for a program run; the caller removes it with RemoveFolder.
std::wstring NewFolder();
void RemoveFolder(const std::wstring& folder);

// Waits until the program has handled everything sent to it so far and repainted.
void Settle(HWND window);

// The clipboard's Unicode text (empty when it holds none), and a text put there.
std::wstring ClipboardText();
void SetClipboardText(const std::wstring& text);

// Number of screen pixels inside the window that have exactly this colour (0x00BBGGRR).
int CountWindowPixels(HWND window, COLORREF colour);
// Polls CountWindowPixels until at least atLeast pixels (or, for 0, none) have the colour.
int WaitForPixels(HWND window, COLORREF colour, int atLeast);

// Clipboard contents of other kinds: nothing at all, or only a picture.
void EmptyTheClipboard();
void SetClipboardPicture();

// Holds the clipboard open from the test's side, as another program may, while it lives.
class ClipboardHold {
 public:
  ClipboardHold();
  ~ClipboardHold();
  ClipboardHold(const ClipboardHold&) = delete;
  ClipboardHold& operator=(const ClipboardHold&) = delete;

 private:
  bool held_ = false;
};

}  // namespace sipo::uitest
