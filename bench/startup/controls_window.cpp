// controls_window.cpp - the start-up benchmark's second reference: a window with the main window's
// controls, made of the same standard classes at the same places with the same font, and no logic
// (no settings, no notice, no pictures, no drawing of its own). Sipo.exe's start beside it shows
// how much of the start is the controls themselves.
#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

namespace {

enum Kind { Panel, Label, Edit, Button, Check, Grid };

struct Control {
  Kind kind;
  int panel;  // 0: the window; 1 to 3: a panel
  int left, top, width, height;
};

// The main window's table: three panels, then each control with its parent and bounds (96 dpi).
constexpr Control kControls[] = {
    {Panel, 0, 5, 96, 369, 81},     {Panel, 0, 5, 184, 369, 185},   {Panel, 0, 5, 376, 369, 241},
    {Label, 0, 2, 0, 377, 57},      {Label, 0, 3, 64, 370, 23},     {Label, 1, 0, 0, 368, 17},
    {Label, 1, 16, 27, 110, 13},    {Edit, 1, 136, 24, 121, 19},    {Label, 1, 88, 48, 38, 13},
    {Label, 1, 136, 48, 68, 13},    {Button, 1, 272, 24, 89, 49},   {Label, 2, 0, 0, 368, 17},
    {Grid, 2, 8, 24, 273, 153},     {Button, 2, 288, 24, 73, 41},   {Button, 2, 288, 72, 73, 41},
    {Label, 3, 0, 0, 368, 17},      {Label, 3, 8, 24, 133, 13},     {Edit, 3, 8, 40, 353, 18},
    {Label, 3, 8, 64, 194, 13},     {Edit, 3, 8, 80, 353, 18},      {Label, 3, 8, 104, 184, 13},
    {Edit, 3, 8, 120, 353, 18},     {Label, 3, 8, 152, 85, 86},     {Label, 3, 104, 154, 68, 13},
    {Edit, 3, 176, 152, 57, 19},    {Label, 3, 114, 174, 58, 13},   {Edit, 3, 176, 172, 57, 19},
    {Check, 3, 248, 152, 97, 17},   {Button, 3, 104, 208, 257, 25}, {Check, 3, 248, 172, 113, 17},
    {Button, 0, 237, 624, 137, 25}, {Button, 0, 5, 624, 153, 25},
};

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND Make(const wchar_t* className, DWORD style, DWORD exStyle, const Control& c, HWND parent,
          HFONT font) {
  HWND control =
      CreateWindowExW(exStyle, className, L"Text", WS_CHILD | WS_VISIBLE | style, c.left, c.top,
                      c.width, c.height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

void MakeGrid(const Control& c, HWND parent, HFONT font) {
  HWND list = Make(WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA, WS_EX_CLIENTEDGE, c,
                   parent, font);
  wchar_t title[] = L"Column";
  for (int column = 0; column < 2; ++column) {
    LVCOLUMNW spec{};
    spec.mask = LVCF_TEXT | LVCF_WIDTH;
    spec.pszText = title;
    spec.cx = column == 0 ? 121 : 132;
    ListView_InsertColumn(list, column, &spec);
  }
  ListView_SetItemCountEx(list, 9, 0);
}

void MakeControls(HWND window, HFONT font) {
  HWND panels[4] = {window, nullptr, nullptr, nullptr};
  int panelCount = 0;
  for (const Control& c : kControls) {
    HWND parent = panels[c.panel];
    switch (c.kind) {
      case Panel:
        panels[++panelCount] = Make(L"TBarePanel", 0, WS_EX_CONTROLPARENT, c, window, font);
        break;
      case Label:
        Make(WC_STATICW, SS_LEFT, 0, c, parent, font);
        break;
      case Edit:
        Make(WC_EDITW, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, c, parent, font);
        break;
      case Button:
        Make(WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, 0, c, parent, font);
        break;
      case Check:
        Make(WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX, 0, c, parent, font);
        break;
      case Grid:
        MakeGrid(c, parent, font);
        break;
    }
  }
}

void Register(const wchar_t* name, int colour) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(colour + 1));
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX common = {sizeof(common), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);
  Register(L"TControlsForm", COLOR_APPWORKSPACE);
  Register(L"TBarePanel", COLOR_BTNFACE);
  HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, L"TControlsForm", L"Controls",
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 240, 152,
                              385, 684, nullptr, nullptr, instance, nullptr);
  HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  MakeControls(hwnd, font);
  ShowWindow(hwnd, showCommand);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(hwnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DeleteObject(font);
  return 0;
}
