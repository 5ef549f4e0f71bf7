// main_form_run.cpp - the main window's file run on a thread of its own: the window keeps
// answering, FileButton shows the progress and stops the run, a close request stops it too.
#include <memory>

#include "ui/base/control_ids.h"
#include "ui/controls/gradient_button.h"
#include "ui/forms/file_run_caption.h"
#include "ui/forms/main_form.h"
#include "ui/forms/main_form_run.h"
#include "win/win_text.h"

namespace sipo::ui {
namespace {

RunOutcome OutcomeOf(const FileRunJob& job) {
  if (job.Stopped()) return RunOutcome::Stopped;
  const FileSortResult& result = job.Result();
  const bool whole = result.InputRead() && result.sorted.badWritten && result.sorted.okWritten;
  return whole ? RunOutcome::Done : RunOutcome::Failed;
}

bool IsKey(UINT message) {
  return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

bool IsSystemKey(UINT message) {
  return message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR ||
         message == WM_SYSDEADCHAR;
}

bool IsMouse(UINT message) {
  return message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
}

bool IsEscape(const MSG& msg) {
  return ((msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) && msg.wParam == VK_ESCAPE) ||
         (msg.message == WM_CHAR && msg.wParam == 0x1B);
}

// The keys that press a focused button: Space and Enter.
bool IsButtonKey(const MSG& msg) {
  if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP)
    return msg.wParam == VK_SPACE || msg.wParam == VK_RETURN;
  return msg.message == WM_CHAR && (msg.wParam == L' ' || msg.wParam == L'\r');
}

}  // namespace

// Confirmation, busy indicator and input name come first, on this thread; the sort then goes on
// its own, and FileButton becomes the stop button with the focus on it.
void MainForm::StartRun(const FileRunOptions& options) {
  std::optional<FileRunJob> job = FileRunJob::Start(options, programDir_, *this);
  if (!job) return;
  HWND button = Control(IDC_FileButton);
  runCaption_ = StopButtonCaption(nullptr);
  win::SetControlText(button, runCaption_);
  SetFocus(button);
  if (!taskbar_) {
    taskbarButton_ = std::make_unique<TaskbarButton>(Handle());
    taskbar_ = std::make_unique<TaskbarRunView>(*taskbarButton_);
  }
  taskbar_->Begin();
  closeAfterRun_ = false;
  SetTimer(Handle(), kRunTimer, kRunTimerInterval, nullptr);
  run_ = std::make_unique<FileRunThread>(std::move(*job), Handle(), kRunEndedMessage);
}

void MainForm::StopRun() {
  if (run_) run_->RequestStop();
}

// True when a run was in progress: it is stopped, and the window closes once it has ended.
bool MainForm::StopRunForClose() {
  if (!run_) return false;
  closeAfterRun_ = true;
  run_->RequestStop();
  return true;
}

// The caption changes only when its text does, so that the button does not flicker. A stopped
// run that still waits for its input is not waited for any longer.
void MainForm::RunTimerTick() {
  if (!run_) return;
  if (run_->Stalled()) {
    AbandonRun();
    return;
  }
  const std::optional<RunProgress> latest = run_->Latest();
  if (!latest) return;
  HWND button = Control(IDC_FileButton);
  const std::string caption = StopButtonCaption(&*latest);
  if (caption != runCaption_) {
    runCaption_ = caption;
    win::SetControlText(button, caption);
  }
  SetButtonProgress(button, ReadFraction(*latest));
  taskbar_->Update(*latest);
}

// The run's thread has ended: the job finishes here, with its messages in their fixed order, and
// a failure it kept is thrown to the window procedure like any handler's. The taskbar keeps a
// failure's mark while its messages are read.
void MainForm::RunEnded() {
  if (!run_) return;
  const std::unique_ptr<FileRunThread> run = std::move(run_);
  FileRunJob& job = run->Join();
  EndRunView(OutcomeOf(job));
  struct DismissAtEnd {
    TaskbarRunView& view;
    ~DismissAtEnd() { view.Dismiss(); }
  } dismiss{*taskbar_};
  job.Finish(*this, closeAfterRun_ ? FileRunJob::FinishFor::Closing : FileRunJob::FinishFor::User);
  if (closeAfterRun_) FormClose();
}

// A stopped run whose read did not return is left to end on its own: it touches no output, and
// the window says what it would have said of any stop, or closes.
void MainForm::AbandonRun() {
  const std::unique_ptr<FileRunThread> run = std::move(run_);
  run->Abandon();
  EndRunView(RunOutcome::Stopped);
  taskbar_->Dismiss();
  FileRunJob::FinishStopped(
      *this, closeAfterRun_ ? FileRunJob::FinishFor::Closing : FileRunJob::FinishFor::User);
  if (closeAfterRun_) FormClose();
}

// FileButton and the taskbar button leave the run's look.
void MainForm::EndRunView(RunOutcome outcome) {
  KillTimer(Handle(), kRunTimer);
  HWND button = Control(IDC_FileButton);
  SetButtonProgress(button, -1);
  win::SetControlText(button, kFileButtonCaption);
  taskbar_->End(outcome);
}

// Windows ends the program once this returns, so it returns at once: a run is stopped, waited
// for only while it is not stuck in a read, and the window closes as it does at a close request.
void MainForm::EndSession() {
  if (!run_) {
    FormClose();
    return;
  }
  StopRunForClose();
  if (run_->WaitForEnd(FileRunThread::kStopWait) || !run_->Stalled()) {
    RunEnded();
  } else {
    AbandonRun();
  }
}

bool MainForm::TakeQueuedMessage(const MSG& msg) {
  if (!run_) return false;
  if (IsEscape(msg)) {
    if (msg.message == WM_KEYDOWN) StopRun();
    return true;
  }
  return IgnoredDuringRun(msg);
}

// While a run lasts only FileButton takes the mouse, Space and Enter. The window's frame still
// works: the system keys (Alt+F4, the system menu) and everything outside the client area.
bool MainForm::IgnoredDuringRun(const MSG& msg) const {
  if (!IsKey(msg.message) && !IsMouse(msg.message)) return false;
  if (IsSystemKey(msg.message)) return false;
  if (msg.hwnd == Control(IDC_FileButton)) return IsKey(msg.message) && !IsButtonKey(msg);
  return true;
}

}  // namespace sipo::ui
