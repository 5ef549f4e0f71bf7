// floating_form.h - the small always-on-top window that checks whatever was copied last.
#pragma once

#include <windows.h>

#include "core/sipo_number.h"
#include "ui/base/form_context.h"
#include "ui/base/form_window.h"
#include "ui/controls/control_table.h"

namespace sipo::ui {

// Opens the floating window, or raises the one already open; either way the main window is
// minimised.
void ShowFloatingForm(const FormContext& context);
// True from the floating window's creation to its close.
bool FloatingFormOpen();

class FloatingForm : public FormWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TFloatingForm";

  explicit FloatingForm(const FormContext& context);
  ~FloatingForm() override;
  FloatingForm(const FloatingForm&) = delete;
  FloatingForm& operator=(const FloatingForm&) = delete;

  // Creates the window; FormCreate runs before it returns.
  void Create();
  void Show();
  // To the top of the always-on-top windows, without moving, resizing or activating it.
  void Raise() const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Event handlers.
  void FormCreate() override;
  void TimerTimer();
  void FormClose();

  void CreateControls() override;
  void ApplyLayout() override;
  void MakeFonts();
  void ShowStatus(StatusClass status);
  void StartTimer();
  void StopTimer();
  LRESULT ColourControl(HDC dc, HWND control);
  HWND Control(int id) const { return GetDlgItem(Handle(), id); }

  FormContext context_;
  char decimalSeparator_ = '.';
  Colour statusColour_ = kBlack;
  TableFonts fonts_;
  HBRUSH backgroundBrush_ = nullptr;
};

}  // namespace sipo::ui
