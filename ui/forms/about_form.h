// about_form.h - the modal About window: version, information, licence and contact.
#pragma once

#include <windows.h>

#include <string>

#include "ui/base/form_context.h"
#include "ui/base/form_window.h"
#include "ui/controls/control_table.h"

namespace sipo::ui {

// Creates an About window, shows it modally and destroys it when it closes.
void ShowAboutForm(const FormContext& context);

class AboutForm : public FormWindow {
 public:
  static constexpr const wchar_t* kClassName = L"TAboutForm";

  explicit AboutForm(const FormContext& context);
  ~AboutForm() override;
  AboutForm(const AboutForm&) = delete;
  AboutForm& operator=(const AboutForm&) = delete;

  // Creates the window; FormCreate runs before it returns.
  void Create();
  // Shows the window; returns when it has closed, the program's other windows disabled meanwhile.
  void ShowModal();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Event handlers.
  void FormCreate() override;
  void CloseButtonClick();
  void FormClose();
  void EmailValueClick();

  void CreateControls() override;
  void ApplyLayout() override;
  void MakeFonts();
  std::wstring TextOf(const ControlRow& row) const;
  HFONT FontOf(const ControlRow& row) const;
  RECT PlaceOf(const ControlRow& row, const std::wstring& text) const;
  int EmailOverlap() const;
  void RunModalLoop();
  LRESULT ColourControl(HDC dc, HWND control);
  void OnCommand(int id, int code);
  HWND Control(int id) const { return GetDlgItem(Handle(), id); }

  FormContext context_;
  bool closed_ = false;
  TableFonts fonts_;
  HFONT linkFont_ = nullptr;
};

}  // namespace sipo::ui
