// UI tests of the main window's custom controls (gradient buttons, file-name fields, logo, busy
// animation), run against the real program under Wine with real keyboard and mouse input, and as a
// screen reader asks for them.
#include <gtest/gtest.h>
#include <windows.h>
// oleacc.h needs windows.h before it.
#include <oleacc.h>

#include <cstdint>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "program/maker.h"
#include "tests/ui/real_input.h"
#include "tests/ui/sipo_app.h"
#include "tests/ui/window_probe.h"
#include "ui/base/control_ids.h"

namespace sipo::uitest {
namespace {

using namespace sipo::ui;

// ---- Screen, keyboard and mouse ----

int CountOf(const std::vector<COLORREF>& pixels, COLORREF colour) {
  int count = 0;
  for (COLORREF p : pixels) count += p == colour ? 1 : 0;
  return count;
}

// A corner of the screen far from the program's window.
void ParkMouse() {
  MoveMouse({GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2});
}

// ---- The program's windows ----

bool WaitUntilGone(HWND window, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(30);
  }
  return true;
}

// The control that has the keyboard focus in the program.
HWND FocusOf(const SipoApp& app) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(app.MainWindow(), nullptr), &info);
  return info.hwndFocus;
}

// Presses a dialog's button as a click would; the dialog's own thread handles it.
void PressDialogButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  ASSERT_NE(button, nullptr) << "button " << id;
  PostMessageW(button, BM_CLICK, 0, 0);
}

// ---- Gradient buttons ----

struct FaceColours {
  COLORREF upperTop, upperBottom, lowerTop, lowerBottom, border;
};

constexpr FaceColours kActionNormal = {0xEEDBC8, 0xF6DDC9, 0xEDD4C0, 0xF7E1D0, 0xE0B99B};
constexpr FaceColours kWindowNormal = {0xDFDED6, 0xE4E2DB, 0xD7D5CE, 0xE7E5E0, 0xC0BCB2};
constexpr FaceColours kHot = {0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB};
constexpr FaceColours kPressed = {0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD, 0x45667B};

// The face shows these colours: the whole one-pixel border, the first and last row of each half
// (the caption may cover part of the rows next to the middle), and no other state's border.
void ExpectFace(const SipoApp& app, int id, const FaceColours& expected, const char* state) {
  RECT rc;
  GetWindowRect(app.Control(id), &rc);
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  const int border = 2 * width + 2 * height - 4;
  std::vector<COLORREF> pixels;
  for (int attempt = 0; attempt < 40; ++attempt) {  // the screen follows a repaint with a delay
    pixels = ScreenPixels(app.Control(id));
    if (CountOf(pixels, expected.border) >= border) break;
    Sleep(50);
  }
  SCOPED_TRACE(testing::Message() << "control " << id << ", " << state);
  EXPECT_GE(CountOf(pixels, expected.border), border);
  EXPECT_GE(CountOf(pixels, expected.upperTop), width - 2);
  EXPECT_GE(CountOf(pixels, expected.lowerBottom), width - 2);
  EXPECT_GE(CountOf(pixels, expected.upperBottom), (width - 2) / 2);
  EXPECT_GE(CountOf(pixels, expected.lowerTop), (width - 2) / 2);
  for (const FaceColours* other : {&kActionNormal, &kWindowNormal, &kHot, &kPressed}) {
    if (other->border != expected.border) {
      EXPECT_EQ(CountOf(pixels, other->border), 0);
    }
  }
}

TEST(GradientButton, ShowsItsGroupsColoursInEachState) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  struct Case {
    int id;
    const FaceColours& normal;
  };
  const Case cases[] = {{IDC_FileButton, kActionNormal},
                        {IDC_MultiImportButton, kActionNormal},
                        {IDC_CloseButton, kWindowNormal},
                        {IDC_AboutButton, kWindowNormal}};
  app.Focus(IDC_SingleEdit);
  for (const Case& c : cases) {
    ParkMouse();
    Settle(app.MainWindow());
    ExpectFace(app, c.id, c.normal, "normal");

    // Near the lower right corner, so that a hint appearing below the pointer leaves the face.
    RECT rc;
    GetWindowRect(app.Control(c.id), &rc);
    MoveMouse({rc.right - 3, rc.bottom - 3});
    ExpectFace(app, c.id, kHot, "mouse over");

    SendMessageW(app.Control(c.id), BM_SETSTATE, TRUE, 0);
    ExpectFace(app, c.id, kPressed, "pressed");
    SendMessageW(app.Control(c.id), BM_SETSTATE, FALSE, 0);
  }
  ParkMouse();
}

// System colours and the high-contrast flag for the whole test prefix while it lives; both are
// put back as they were, however the test ends.
class ThemeColours {
 public:
  static constexpr int kElements[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_HIGHLIGHT,
                                      COLOR_HIGHLIGHTTEXT};
  ThemeColours() {
    for (int element : kElements) saved_.push_back(GetSysColor(element));
  }
  ~ThemeColours() {
    SetHighContrast(false);
    SetSysColors(static_cast<int>(saved_.size()), kElements, saved_.data());
  }
  ThemeColours(const ThemeColours&) = delete;
  ThemeColours& operator=(const ThemeColours&) = delete;

  void Set(const std::vector<COLORREF>& colours) {
    SetSysColors(static_cast<int>(colours.size()), kElements, colours.data());
  }
  // False where the system refuses the switch (Wine 8 does, and always reports it off).
  static bool SetHighContrast(bool on) {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    contrast.dwFlags = on ? HCF_HIGHCONTRASTON : 0;
    return SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof(contrast), &contrast,
                                 SPIF_SENDCHANGE) != FALSE;
  }

 private:
  std::vector<COLORREF> saved_;
};

// New system colours alone change nothing of the designed faces; with the high-contrast theme on
// the buttons and bars take the theme's colours while the program runs, and go back once it is off.
TEST(GradientButton, DrawsInTheThemesColoursOnlyInHighContrast) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  app.Focus(IDC_SingleEdit);
  ParkMouse();
  constexpr COLORREF kFace = 0x203040, kText = 0xE0F0FF, kHighlight = 0x00C000;
  ThemeColours theme;
  theme.Set({kFace, kText, kHighlight, 0xFFFFFF});
  Settle(app.MainWindow());
  ExpectFace(app, IDC_FileButton, kActionNormal, "new colours, no high contrast");
  ExpectFace(app, IDC_CloseButton, kWindowNormal, "new colours, no high contrast");

  if (!ThemeColours::SetHighContrast(true)) GTEST_SKIP() << "the system refuses high contrast";
  Settle(app.MainWindow());
  const FaceColours flat = {kFace, kFace, kFace, kFace, kText};
  ExpectFace(app, IDC_FileButton, flat, "high contrast");
  ExpectFace(app, IDC_CloseButton, flat, "high contrast");
  SendMessageW(app.Control(IDC_FileButton), BM_SETSTATE, TRUE, 0);
  ExpectFace(app, IDC_FileButton, {kHighlight, kHighlight, kHighlight, kHighlight, kText},
             "high contrast, pressed");
  SendMessageW(app.Control(IDC_FileButton), BM_SETSTATE, FALSE, 0);
  HWND header = app.Control(IDC_SingleHeader);
  RECT rc;
  GetWindowRect(header, &rc);
  const int area = (rc.right - rc.left) * (rc.bottom - rc.top);
  EXPECT_GE(WaitForPixels(header, kHighlight, area / 2), area / 2);

  ASSERT_TRUE(ThemeColours::SetHighContrast(false));
  Settle(app.MainWindow());
  ExpectFace(app, IDC_FileButton, kActionNormal, "high contrast off again");
}

TEST(GradientButton, PressedByHoldingTheMouseButtonDown) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  app.Focus(IDC_SingleEdit);
  RECT rc;
  GetWindowRect(app.Control(IDC_AboutButton), &rc);
  MoveMouse({rc.right - 3, rc.bottom - 3});
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &input, sizeof(INPUT));
  ExpectFace(app, IDC_AboutButton, kPressed, "mouse held down");
  input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof(INPUT));
  ExpectFace(app, IDC_AboutButton, kHot, "mouse released");
  ParkMouse();
}

// Enter and Space press the focused button; Enter anywhere else does nothing, as the window has
// no default button.
TEST(GradientButton, EnterAndSpacePressOnlyTheFocusedButton) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  app.SetText(IDC_SingleEdit, L"1234567897");
  app.Focus(IDC_SingleEdit);
  SendKey(VK_RETURN);
  EXPECT_EQ(WaitForDialog(app.ProcessId(), L"Confirm", 1000), nullptr);
  EXPECT_EQ(app.Text(IDC_SingleEdit), L"1234567897");
  EXPECT_EQ(FocusOf(app), app.Control(IDC_SingleEdit));

  for (WORD key : {VK_RETURN, VK_SPACE}) {
    app.Focus(IDC_FileButton);
    SendKey(key);
    HWND confirm = WaitForDialog(app.ProcessId(), L"Confirm");
    ASSERT_NE(confirm, nullptr) << "key " << key << " did not press FileButton";
    PressDialogButton(confirm, IDNO);
    EXPECT_TRUE(WaitUntilGone(confirm));
  }

  app.Focus(IDC_CloseButton);
  SendKey(VK_RETURN);
  EXPECT_EQ(app.WaitForExit(), 0u);
}

TEST(GradientButton, KeepsItsCaptionAndAnswersAClickMessage) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  EXPECT_EQ(app.Text(IDC_FloatingClipButton), L"Automaticky ze schránky v plovoucím okně");
  EXPECT_EQ(app.Text(IDC_AboutButton), L"O programu");
  app.Click(IDC_FileButton);
  HWND confirm = WaitForDialog(app.ProcessId(), L"Confirm");
  ASSERT_NE(confirm, nullptr);
  PressDialogButton(confirm, IDNO);
  EXPECT_TRUE(WaitUntilGone(confirm));
}

// ---- File-name fields ----

constexpr int kFileNameBox = 0x47C;     // cmb13, the dialog's file name box on Windows
constexpr int kFileNameBoxOld = 0x480;  // edt1, the same box in older dialog templates

void ChooseInDialog(HWND dialog, const std::wstring& name) {
  HWND box = FindControl(dialog, kFileNameBox, true);
  if (box == nullptr) box = FindControl(dialog, kFileNameBoxOld, true);
  ASSERT_NE(box, nullptr) << "no file name box in the dialog";
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  PressDialogButton(dialog, IDOK);
}

TEST(FileNameEdit, AltDownOpensBrowseAndCancelKeepsTheTextAndFocus) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const std::wstring text = L"\"" + app.Folder() + L"\\no such.txt\" rest";
  app.SetText(IDC_FileOKOutputEdit, text);
  app.Focus(IDC_FileOKOutputEdit);
  SendKey(VK_DOWN, VK_MENU);
  HWND dialog = WaitForDialog(app.ProcessId(), L"Browse");
  ASSERT_NE(dialog, nullptr) << "Alt+Down did not open the dialog";
  PressDialogButton(dialog, IDCANCEL);
  EXPECT_TRUE(WaitUntilGone(dialog));
  Settle(app.MainWindow());
  EXPECT_EQ(app.Text(IDC_FileOKOutputEdit), text);
  EXPECT_EQ(FocusOf(app), app.Control(IDC_FileOKOutputEdit));
}

TEST(FileNameEdit, BrowseButtonPutsAChosenNameWithASpaceInQuotes) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const std::wstring chosen = app.Folder() + L"\\my data.txt";
  std::ofstream(chosen.c_str()) << "1234567897\r\n";
  app.Focus(IDC_SingleEdit);
  // The browse button sits in the field's frame at its right end.
  HWND field = app.Control(IDC_FileInputEdit);
  RECT rc;
  GetWindowRect(field, &rc);
  const POINT button = {rc.right - (rc.bottom - rc.top) / 2, (rc.top + rc.bottom) / 2};
  PostMessageW(field, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(button.x, button.y));
  HWND dialog = WaitForDialog(app.ProcessId(), L"Browse");
  ASSERT_NE(dialog, nullptr) << "the browse button did not open the dialog";
  ChooseInDialog(dialog, chosen);
  EXPECT_TRUE(WaitUntilGone(dialog));
  Settle(app.MainWindow());
  EXPECT_EQ(app.Text(IDC_FileInputEdit), L"\"" + chosen + L"\"");
  EXPECT_EQ(FocusOf(app), field);
}

// Browses from the keyboard and answers the dialog with a bare name, which the dialog puts in the
// folder it shows; the field's text afterwards tells which folder the dialog started in.
std::wstring BrowseAndChoose(const SipoApp& app, int id, const std::wstring& text,
                             const std::wstring& bareName) {
  app.SetText(id, text);
  app.Focus(id);
  SendKey(VK_DOWN, VK_MENU);
  HWND dialog = WaitForDialog(app.ProcessId(), L"Browse");
  EXPECT_NE(dialog, nullptr) << "Alt+Down did not open the dialog";
  if (dialog == nullptr) return L"";
  ChooseInDialog(dialog, bareName);
  EXPECT_TRUE(WaitUntilGone(dialog));
  Settle(app.MainWindow());
  return app.Text(id);
}

TEST(FileNameEdit, BrowseStartsInTheNamesFolderElseInTheFolderOfTheLastChoice) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const std::wstring spaced = app.Folder() + L"\\a dir";
  const std::wstring plain = app.Folder() + L"\\plain";
  CreateDirectoryW(spaced.c_str(), nullptr);
  CreateDirectoryW(plain.c_str(), nullptr);
  // The quoted name's folder exists: the dialog starts there, and the field remembers it.
  EXPECT_EQ(
      BrowseAndChoose(app, IDC_FileBadOutputEdit, L"\"" + spaced + L"\\old.txt\" x", L"one.txt"),
      L"\"" + spaced + L"\\one.txt\"");
  // No folder in the field: the remembered one.
  EXPECT_EQ(BrowseAndChoose(app, IDC_FileBadOutputEdit, L"", L"two.txt"),
            L"\"" + spaced + L"\\two.txt\"");
  // Another field remembers its own choices only.
  EXPECT_EQ(BrowseAndChoose(app, IDC_FileInputEdit, plain + L"\\in.txt", L"three.txt"),
            plain + L"\\three.txt");
  EXPECT_EQ(BrowseAndChoose(app, IDC_FileBadOutputEdit, L"", L"four.txt"),
            L"\"" + spaced + L"\\four.txt\"");
}

TEST(FileNameEdit, TextDoesNotRunUnderTheBrowseButton) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  HWND field = app.Control(IDC_FileBadOutputEdit);
  RECT window, client;
  GetWindowRect(field, &window);
  GetClientRect(field, &client);
  const int height = window.bottom - window.top;
  EXPECT_LE(client.right, (window.right - window.left) - (height - 2))
      << "the text area reaches under the button";
}

// ---- Logo ----

// The hand cursor is not checked: under Wine another process cannot read the cursor a program
// shows.
TEST(LogoImage, ShowsThePictureUnscaledAtTheTopLeftCorner) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  constexpr COLORREF kBackground = 0x717679;
  HWND logo = app.Control(IDC_LogoImage);
  RECT rc;
  GetWindowRect(logo, &rc);
  const int width = rc.right - rc.left;
  ASSERT_EQ(width, 377);
  // Under Wine the first paint of a new window reaches the screen a moment after it is shown.
  int picture = 0;
  int margin = 0;
  for (int attempt = 0; attempt < 40; ++attempt) {
    const std::vector<COLORREF> pixels = ScreenPixels(logo);
    picture = 0;
    margin = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      const int x = static_cast<int>(i) % width;
      const int y = static_cast<int>(i) / width;
      if (x < 374 && y < 53) {
        picture += pixels[i] != kBackground ? 1 : 0;
      } else {
        margin += pixels[i] != kBackground ? 1 : 0;
      }
    }
    if (picture > 374 * 53 / 2 && margin == 0) break;
    Sleep(50);
  }
  EXPECT_GT(picture, 374 * 53 / 2) << "the picture is not drawn";
  EXPECT_EQ(margin, 0) << "the picture is not unscaled at the top-left corner";
}

// ---- Busy animation ----

// An input that holds the run for as long as the test watches: a named pipe whose writing end the
// test keeps. A run over a file, however large, may end before two frames have reached the screen:
// under Wine with no window manager the Confirm box alone takes two seconds to go away.
class HeldInput {
 public:
  explicit HeldInput(const std::wstring& name)
      : pipe_(CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED,
                               PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr)),
        connected_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~HeldInput() {
    if (pipe_ != INVALID_HANDLE_VALUE) CloseHandle(pipe_);
    if (connected_ != nullptr) CloseHandle(connected_);
  }
  HeldInput(const HeldInput&) = delete;
  HeldInput& operator=(const HeldInput&) = delete;

  bool Ready() const { return pipe_ != INVALID_HANDLE_VALUE && connected_ != nullptr; }

  // Waits for the program to open the pipe, writes the text and ends the input.
  bool WriteAndEnd(const std::string& text) {
    if (!WaitForReader()) return false;
    OVERLAPPED overlapped{};
    overlapped.hEvent = connected_;
    ResetEvent(connected_);
    DWORD written = 0;
    const bool started =
        WriteFile(pipe_, text.data(), static_cast<DWORD>(text.size()), nullptr, &overlapped) ||
        GetLastError() == ERROR_IO_PENDING;
    const bool ok = started && GetOverlappedResult(pipe_, &overlapped, &written, TRUE) &&
                    written == text.size();
    CloseHandle(pipe_);
    pipe_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  bool WaitForReader() {
    OVERLAPPED overlapped{};
    overlapped.hEvent = connected_;
    if (ConnectNamedPipe(pipe_, &overlapped)) return true;
    switch (GetLastError()) {
      case ERROR_PIPE_CONNECTED:
        return true;
      case ERROR_IO_PENDING: {
        if (WaitForSingleObject(connected_, 10000) == WAIT_OBJECT_0) return true;
        CancelIo(pipe_);
        return false;
      }
      default:
        return false;
    }
  }

  HANDLE pipe_;
  HANDLE connected_;
};

// A frame on screen: the pixels of the control while it shows the animation's dark dots.
TEST(BusyAnimator, FramesChangeWhileAFileRunWaitsForItsInput) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  constexpr COLORREF kDarkDot = 0x684A2E;
  const std::wstring pipeName = L"\\\\.\\pipe\\sipo-busy-" + std::to_wstring(GetCurrentProcessId());
  HeldInput input(pipeName);
  ASSERT_TRUE(input.Ready());
  HWND animator = app.Control(IDC_FileAnimator);
  EXPECT_FALSE(IsWindowVisible(animator));
  app.SetText(IDC_FileInputEdit, pipeName);
  app.SetText(IDC_FileOKOutputEdit, L"ok.txt");
  app.SetText(IDC_FileBadOutputEdit, L"bad.txt");
  app.SetText(IDC_ColumnEdit, L"0");
  app.SetText(IDC_DelimiterEdit, L";");
  app.Click(IDC_FileButton);
  HWND confirm = WaitForDialog(app.ProcessId(), L"Confirm");
  ASSERT_NE(confirm, nullptr);
  PressDialogButton(confirm, IDYES);

  std::set<std::vector<COLORREF>> frames;
  const DWORD start = GetTickCount();
  while (frames.size() < 2 && GetTickCount() - start < 20000) {
    if (IsWindowVisible(animator)) {
      std::vector<COLORREF> pixels = ScreenPixels(animator);
      if (CountOf(pixels, kDarkDot) > 0) frames.insert(std::move(pixels));
    }
    Sleep(20);
  }
  EXPECT_GE(frames.size(), 2u) << "the animation did not move";
  ASSERT_TRUE(input.WriteAndEnd("1234567897;a\r\n1234567890;b\r\n"));
  HWND done = WaitForDialog(app.ProcessId(), L"Information");
  ASSERT_NE(done, nullptr) << "the run did not end";
  PressDialogButton(done, IDOK);
  EXPECT_TRUE(WaitUntilGone(done));
  Settle(app.MainWindow());
  EXPECT_FALSE(IsWindowVisible(animator));
  EXPECT_EQ(ReadBytes(app.Folder() + L"\\ok.txt"), "1234567897;a\r\n");
}

// ---- Screen readers ----

// What a screen reader hears of a control, asked from another process as a reader asks.
struct Heard {
  std::wstring name;
  LONG role = 0;
  std::wstring value;
  std::wstring action;
};

std::wstring TakeText(BSTR text) {
  std::wstring taken = text != nullptr ? std::wstring(text, SysStringLen(text)) : L"";
  SysFreeString(text);
  return taken;
}

// MinGW's import library gives IID_IAccessible as a thunk's address, hence __uuidof.
bool Hear(HWND control, Heard& heard) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object)))) {
    return false;
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (object->get_accName(self, &text) == S_OK) heard.name = TakeText(text);
  VARIANT role{};
  if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) heard.role = role.lVal;
  text = nullptr;
  if (object->get_accValue(self, &text) == S_OK) heard.value = TakeText(text);
  text = nullptr;
  if (object->get_accDefaultAction(self, &text) == S_OK) heard.action = TakeText(text);
  object->Release();
  return true;
}

class ComApartment {
 public:
  ComApartment() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (started_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool started_;
};

// The owner-drawn controls show what their standard classes cannot tell: the gradient buttons are
// push buttons named by their captions, the logo a link to the maker's page, the busy picture an
// animation. A button's value and default action are the system's, so they are not compared.
TEST(ScreenReader, HearsTheCustomControlsNamesAndRoles) {
  ComApartment com;
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const std::string address = MakerPageAddress();
  const struct {
    int id;
    Heard expected;
  } cases[] = {
      {IDC_FileButton, {L"Zpracovat", ROLE_SYSTEM_PUSHBUTTON, L"", L""}},
      {IDC_CloseButton, {L"Zavřít", ROLE_SYSTEM_PUSHBUTTON, L"", L""}},
      {IDC_LogoImage,
       {L"Webové stránky výrobce", ROLE_SYSTEM_LINK, std::wstring(address.begin(), address.end()),
        L"Přejít"}},
      {IDC_FileAnimator, {L"Probíhá zpracování souboru", ROLE_SYSTEM_ANIMATION, L"", L""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    Heard heard;
    ASSERT_TRUE(Hear(app.Control(c.id), heard)) << "no accessible object";
    EXPECT_EQ(heard.name, c.expected.name);
    EXPECT_EQ(heard.role, c.expected.role);
    if (!c.expected.value.empty()) {
      EXPECT_EQ(heard.value, c.expected.value);
    }
    if (!c.expected.action.empty()) {
      EXPECT_EQ(heard.action, c.expected.action);
    }
  }
}

}  // namespace
}  // namespace sipo::uitest
