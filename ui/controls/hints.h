// hints.h - multi-line tooltips for a window's controls.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>

namespace sipo::ui {

class Hints {
 public:
  Hints() = default;
  ~Hints();
  Hints(const Hints&) = delete;
  Hints& operator=(const Hints&) = delete;

  // The tooltip window of owner: shown after 500 ms of rest, hidden after 2,500 ms.
  void Create(HWND owner);
  void Add(HWND control, std::string_view cp1250Text);
  // As Add for an entry field, which shows its own whole text instead, at its top-left corner,
  // while that text is wider than the field.
  void AddTextOrHint(HWND edit, std::string_view cp1250Text);
  // The owner passes on its WM_NOTIFY; true when the message was the tooltip's.
  bool OnNotify(const NMHDR& header, LRESULT& result);
  HWND Handle() const { return tooltip_; }

 private:
  bool TextOverflows(HWND edit) const;
  void AddTool(HWND control, bool dynamic);

  HWND owner_ = nullptr;
  HWND tooltip_ = nullptr;
  std::map<HWND, std::wstring> texts_;
  std::map<HWND, bool> followsText_;
  std::wstring shown_;  // the text handed to the tooltip last, kept alive while it is shown
};

}  // namespace sipo::ui
