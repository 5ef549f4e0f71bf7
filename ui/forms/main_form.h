// main_form.h - the main window: the single number, the clipboard list, the file run, and the
// program's start and end.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "batch/file_run.h"
#include "core/sipo_number.h"
#include "settings/main_settings.h"
#include "settings/settings_store.h"
#include "ui/base/form_window.h"
#include "ui/base/taskbar_button.h"
#include "ui/controls/control_table.h"
#include "ui/controls/hints.h"
#include "ui/controls/multi_grid.h"
#include "ui/controls/panel.h"
#include "ui/forms/file_run_thread.h"

namespace sipo::ui {

class MainForm : public FormWindow, public FileRunHost, public SettingsFields {
 public:
  static constexpr const wchar_t* kClassName = L"TMainForm";

  // programDir is the executable's folder (ending in '\'), where the settings file lives.
  explicit MainForm(std::string programDir);
  ~MainForm() override;
  MainForm(const MainForm&) = delete;
  MainForm& operator=(const MainForm&) = delete;

  // Creates the window and its controls; FormCreate runs before it returns.
  void Create(HICON icon);
  // Moves the window to its remembered place, makes it visible and runs FormShow before its
  // first paint.
  void Show(int showCommand);

  bool SettingsUnavailable() const { return settingsUnavailable_; }
  SettingsStore& Settings() { return store_; }

  // FileRunHost: what a file run shows.
  bool AskYesNo(std::string_view message) override;
  void Inform(std::string_view message) override;
  void SetBusy(bool busy) override;
  void ShowFileName(FileNameSlot slot, std::string_view name) override;

  // SettingsFields: the remembered fields.
  std::string FieldText(SettingsField field) const override;
  void SetFieldText(SettingsField field, std::string_view text) override;
  bool FieldChecked(SettingsField field) const override;
  void SetFieldChecked(SettingsField field, bool checked) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool TakeQueuedMessage(const MSG& msg) override;

 private:
  // Event handlers.
  void FormCreate() override;
  void FormShow();
  bool FormCloseQuery();
  void FormClose();
  void SingleEditChange();
  void FloatingClipButtonClick();
  void MultiImportButtonClick();
  void MultiExportButtonClick();
  void FileButtonClick();
  void AboutButtonClick();
  void CloseButtonClick();
  void LogoImageClick();

  // The file run on its own thread (main_form_run.cpp).
  void StartRun(const FileRunOptions& options);
  void StopRun();
  bool StopRunForClose();
  void RunTimerTick();
  void RunEnded();
  void AbandonRun();
  void EndRunView(RunOutcome outcome);
  void EndSession();
  bool IgnoredDuringRun(const MSG& msg) const;

  // Window plumbing.
  void CreateControls() override;
  void CreateControl(const ControlRow& row);
  Panel& PanelOf(int id);
  void ApplyLayout() override;
  void MakeFonts();
  void AddHints();
  void ShowStatus(StatusClass status);
  LRESULT ColourControl(HDC dc, HWND control);
  void OnCommand(int id, int code);
  void OnActivate(bool active);
  void SaveOnClose();
  HWND Control(int id) const;

  std::string programDir_;
  SettingsStore store_;
  bool settingsUnavailable_ = false;
  char decimalSeparator_ = '.';
  Colour statusColour_ = kBlack;
  HWND lastFocus_ = nullptr;  // the control to give the focus back to on reactivation
  TableFonts fonts_;
  HBRUSH backgroundBrush_ = nullptr;
  Panel singlePanel_;
  Panel multiPanel_;
  Panel filePanel_;
  MultiGrid multiGrid_;
  Hints hints_;
  std::unique_ptr<FileRunThread> run_;  // while a file run lasts
  bool closeAfterRun_ = false;          // a close request came during the run
  std::string runCaption_;              // FileButton's caption as the run last set it
  std::unique_ptr<TaskbarButton> taskbarButton_;
  std::unique_ptr<TaskbarRunView> taskbar_;
};

}  // namespace sipo::ui
