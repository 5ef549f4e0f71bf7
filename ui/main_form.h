// main_form.h - the main window: the single-number check and the program's close button.
#pragma once

#include <windows.h>

#include <string>

#include "core/sipo_number.h"
#include "ui/panel.h"
#include "ui/window_base.h"

namespace sipo::ui {

class MainForm : public WindowBase {
 public:
  static constexpr const wchar_t* kClassName = L"TMainForm";

  MainForm();
  ~MainForm() override;
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  // Creates the window and its controls; FormCreate runs before it returns.
  void Create(HICON icon);
  // Runs FormShow, then makes the window visible.
  void Show(int showCommand);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Event handlers.
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void FormClose();
  void SingleEditChange();
  void CloseButtonClick();

  // Window plumbing.
  void PlaceAtDesign();
  void CreateControls();
  void ApplyLayout();
  void MakeFonts();
  void ShowStatus(StatusClass status);
  void FitLabelWidth(HWND label, bool bold);
  void DrawHeader(const DRAWITEMSTRUCT& item);
  LRESULT ColourControl(HDC dc, HWND control);
  void OnCommand(int id, int code);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnActivate(bool active);
  HWND Control(int id) const;
  int Scale(int pixels96) const { return MulDiv(pixels96, static_cast<int>(dpi_), 96); }

  UINT dpi_ = 96;
  char decimalSeparator_ = '.';
  Colour statusColour_ = kBlack;
  HWND lastFocus_ = nullptr;  // the control to give the focus back to on reactivation
  HFONT font_ = nullptr;
  HFONT boldFont_ = nullptr;
  HBRUSH backgroundBrush_ = nullptr;
  Panel singlePanel_;
};

}  // namespace sipo::ui
