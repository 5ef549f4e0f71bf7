// UI tests of a long file run: the window keeps answering, FileButton shows the lines read and
// stops the run (mouse, Escape), a close request stops it too, and a run left alone ends as usual.
// The input is a named pipe that the test feeds a few lines every half second, so that the run
// lasts as long as the test wants.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/ui/real_input.h"
#include "tests/ui/sipo_app.h"
#include "tests/ui/window_probe.h"
#include "ui/base/control_ids.h"

namespace sipo::uitest {
namespace {

using namespace sipo::ui;

const wchar_t* const kStopped = L"Přerušeno. Výstupní soubory zůstaly beze změny.";
const std::string kRound = "1234567897;a\r\n1234567890;b\r\n";  // one good line, one bad

// The closing box of a run that read `rounds` rounds (fewer than 500, so no grouped thousands).
std::wstring DoneText(int rounds) {
  const std::wstring half = std::to_wstring(rounds);
  return L"Hotovo.\r\nNačteno řádků: " + std::to_wstring(2 * rounds) + L"\r\nSprávných: " + half +
         L"\r\nChybných: " + half;
}

// Writes kRound into a named pipe every half second from the moment the program opens it, until
// End (or until the program stops reading).
class FedInput {
 public:
  explicit FedInput(const std::wstring& name)
      : pipe_(CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED,
                               PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr)),
        event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (Ready()) feeder_ = std::thread([this] { Feed(); });
  }
  ~FedInput() { End(); }
  FedInput(const FedInput&) = delete;
  FedInput& operator=(const FedInput&) = delete;

  bool Ready() const { return pipe_ != INVALID_HANDLE_VALUE && event_ != nullptr; }
  int Rounds() const { return rounds_; }
  // No more lines for now; the input stays open.
  void Pause() { paused_ = true; }
  // Ends the input after the rounds written so far.
  void End() {
    ending_ = true;
    if (feeder_.joinable()) feeder_.join();
    if (pipe_ != INVALID_HANDLE_VALUE) CloseHandle(pipe_);
    if (event_ != nullptr) CloseHandle(event_);
    pipe_ = INVALID_HANDLE_VALUE;
    event_ = nullptr;
  }

 private:
  void Feed() {
    if (!WaitForReader()) return;
    while (!ending_ && (paused_ || Write(kRound))) {
      if (!paused_) ++rounds_;
      for (int slice = 0; slice < 10 && !ending_; ++slice) Sleep(50);
    }
  }
  bool WaitForReader() {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event_;
    if (ConnectNamedPipe(pipe_, &overlapped)) return true;
    if (GetLastError() == ERROR_PIPE_CONNECTED) return true;
    if (GetLastError() != ERROR_IO_PENDING) return false;
    while (!ending_) {
      if (WaitForSingleObject(event_, 100) == WAIT_OBJECT_0) return true;
    }
    CancelIo(pipe_);
    return false;
  }
  bool Write(const std::string& text) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event_;
    ResetEvent(event_);
    DWORD written = 0;
    const bool started =
        WriteFile(pipe_, text.data(), static_cast<DWORD>(text.size()), nullptr, &overlapped) ||
        GetLastError() == ERROR_IO_PENDING;
    return started && GetOverlappedResult(pipe_, &overlapped, &written, TRUE) &&
           written == text.size();
  }

  HANDLE pipe_;
  HANDLE event_;
  std::atomic<bool> ending_ = false;
  std::atomic<bool> paused_ = false;
  std::atomic<int> rounds_ = 0;
  std::thread feeder_;
};

// Asks the program's window every 50 ms whether it answers within 100 ms, as Windows does before
// it calls a window "Not responding", and keeps the longest run of unanswered asks.
class AnswerWatch {
 public:
  explicit AnswerWatch(HWND window)
      : thread_([this, window] {
          int missed = 0;
          while (!stop_) {
            DWORD_PTR ignored;
            const bool answered =
                SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 100, &ignored) != 0;
            missed = answered ? 0 : missed + 1;
            if (missed > longestMiss_) longestMiss_ = missed;
            ++asks_;
            Sleep(50);
          }
        }) {}
  ~AnswerWatch() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  int Asks() const { return asks_; }
  int LongestMiss() const { return longestMiss_; }

 private:
  std::atomic<bool> stop_ = false;
  std::atomic<int> asks_ = 0;
  std::atomic<int> longestMiss_ = 0;
  std::thread thread_;
};

template <class Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 20000) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(30);
  }
  return true;
}

// The lines FileButton says were read ("Přerušit (6 řádků)"), or -1 for any other caption.
int LinesShown(const std::wstring& caption) {
  const std::wstring start = L"Přerušit (";
  if (caption.rfind(start, 0) != 0) return -1;
  std::size_t end = start.size();
  while (end < caption.size() && iswdigit(caption[end])) ++end;
  const std::wstring rest = caption.substr(end);
  if (end == start.size() || (rest != L" řádek)" && rest != L" řádky)" && rest != L" řádků)"))
    return -1;
  return std::stoi(caption.substr(start.size(), end - start.size()));
}

// The temporaries an output's replacement writes beside it.
int TemporaryCount(const std::wstring& folder) {
  int count = 0;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\.sipo-*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do ++count;
  while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

std::wstring PipeName() {
  static int counter = 0;
  return L"\\\\.\\pipe\\sipo-long-run-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++counter);
}

// Outputs with old content, a pipe as the input, and a confirmed run that has read at least
// minLines lines (so that both temporaries exist).
class LongRun {
 public:
  LongRun() : pipe_(PipeName()), input_(pipe_) {}

  SipoApp app;
  FedInput& Input() { return input_; }
  std::wstring Ok() const { return app.Folder() + L"\\ok.txt"; }
  std::wstring Bad() const { return app.Folder() + L"\\bad.txt"; }
  std::wstring Caption() const { return app.Text(IDC_FileButton); }

  void Start(int minLines) {
    ASSERT_NE(app.MainWindow(), nullptr);
    ASSERT_TRUE(input_.Ready());
    WriteBytes(Ok(), "old ok\r\n");
    WriteBytes(Bad(), "old bad\r\n");
    app.SetText(IDC_FileInputEdit, pipe_);
    app.SetText(IDC_FileOKOutputEdit, L"ok.txt");
    app.SetText(IDC_FileBadOutputEdit, L"bad.txt");
    app.SetText(IDC_ColumnEdit, L"0");
    app.SetText(IDC_DelimiterEdit, L";");
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
    app.Click(IDC_FileButton);
    HWND confirm = WaitForDialog(app.ProcessId(), L"Confirm");
    ASSERT_NE(confirm, nullptr);
    PressDialogButton(confirm, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return LinesShown(Caption()) >= minLines; }))
        << "FileButton reads: " << std::string(Caption().begin(), Caption().end());
  }

 private:
  std::wstring pipe_;
  FedInput input_;
};

TEST(LongRun, TheWindowAnswersAndFileButtonCountsTheLinesUntilDone) {
  LongRun run;
  run.Start(0);
  AnswerWatch watch(run.app.MainWindow());
  int shown = 0;
  ASSERT_TRUE(WaitUntil([&] {
    const int lines = LinesShown(run.Caption());
    EXPECT_GE(lines, shown) << "the count went back";
    EXPECT_LE(lines, 2 * run.Input().Rounds()) << "more lines than were written";
    shown = lines;
    return lines >= 8;
  }));
  run.Input().End();
  const int rounds = run.Input().Rounds();  // the feeder has stopped: no round can follow
  HWND done = WaitForDialog(run.app.ProcessId(), L"Information");
  watch.Stop();
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageOf(done), DoneText(rounds));
  EXPECT_GT(watch.Asks(), 10);
  EXPECT_LE(watch.LongestMiss(), 1) << "the window stopped answering";
  PressDialogButton(done, IDOK);
  EXPECT_EQ(run.Caption(), L"Zpracovat");
  std::string good, bad;
  for (int round = 0; round < rounds; ++round) {
    good += "1234567897;a\r\n";
    bad += "1234567890;b\r\n";
  }
  EXPECT_EQ(ReadBytes(run.Ok()), good);
  EXPECT_EQ(ReadBytes(run.Bad()), bad);
  EXPECT_EQ(TemporaryCount(run.app.Folder()), 0);
}

// Each way to stop leaves both outputs with their old bytes and removes the temporaries at once;
// FileButton and Escape say so, a close request (Alt+F4, the session's end) closes the window as
// always.
TEST(LongRun, AStoppedRunLeavesTheOutputsAsTheyWere) {
  enum class StopBy { MouseClick, Escape, SpaceOnTheButton, AltF4, LogOff };
  for (const StopBy way : {StopBy::MouseClick, StopBy::Escape, StopBy::SpaceOnTheButton,
                           StopBy::AltF4, StopBy::LogOff}) {
    SCOPED_TRACE(static_cast<int>(way));
    LongRun run;
    run.Start(2);
    EXPECT_EQ(TemporaryCount(run.app.Folder()), 2) << "the run writes beside each output";
    switch (way) {
      case StopBy::MouseClick:
        ClickWithMouse(run.app.Control(IDC_FileButton));
        break;
      case StopBy::Escape:
        // Anywhere in the window, even in the field whose own Escape would undo typing.
        run.app.Focus(IDC_SingleEdit);
        SendKey(VK_ESCAPE);
        break;
      case StopBy::SpaceOnTheButton:
        run.app.Focus(IDC_FileButton);
        SendKey(VK_SPACE);
        break;
      case StopBy::AltF4:
        run.app.Focus(IDC_FileButton);
        SendKey(VK_F4, VK_MENU);
        break;
      case StopBy::LogOff: {
        // Windows ends the program once the window has answered this.
        DWORD_PTR ignored;
        EXPECT_NE(SendMessageTimeoutW(run.app.MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                      SMTO_BLOCK, 10000, &ignored),
                  0);
        break;
      }
    }
    if (way == StopBy::AltF4 || way == StopBy::LogOff) {
      EXPECT_EQ(run.app.WaitForExit(), 0u);
      const std::string settings = ReadBytes(run.app.Folder() + L"\\Zerbanix.ini");
      EXPECT_NE(settings.find("TMainForm="), std::string::npos) << settings;
    } else {
      HWND stopped = WaitForDialog(run.app.ProcessId(), L"Information");
      ASSERT_NE(stopped, nullptr);
      EXPECT_EQ(MessageOf(stopped), kStopped);
      EXPECT_EQ(TemporaryCount(run.app.Folder()), 0) << "temporaries left while the box shows";
      PressDialogButton(stopped, IDOK);
      EXPECT_EQ(run.Caption(), L"Zpracovat");
      EXPECT_FALSE(IsWindowVisible(run.app.Control(IDC_FileAnimator)));
    }
    EXPECT_EQ(ReadBytes(run.Ok()), "old ok\r\n");
    EXPECT_EQ(ReadBytes(run.Bad()), "old bad\r\n");
    EXPECT_EQ(TemporaryCount(run.app.Folder()), 0);
  }
}

// A pipe that gives nothing more keeps the run waiting in a read. FileButton shows every line
// read before it, and no stop waits for data: the window answers within a second (Wine adds
// about 2 s to destroying a window where no window manager confirms it), the outputs keep their
// bytes, and the temporaries go once the read returns or the program ends.
TEST(LongRun, AStopNeverWaitsForASilentInput) {
  enum class StopBy { Escape, Close, LogOff };
  for (const StopBy way : {StopBy::Escape, StopBy::Close, StopBy::LogOff}) {
    SCOPED_TRACE(static_cast<int>(way));
    LongRun run;
    run.Start(2);
    run.Input().Pause();
    Sleep(600);  // past the last round's write, so that the program waits in its read
    const int rounds = run.Input().Rounds();
    EXPECT_TRUE(WaitUntil([&] { return LinesShown(run.Caption()) == 2 * rounds; }))
        << "FileButton shows " << LinesShown(run.Caption()) << " of " << 2 * rounds << " lines";
    const ULONGLONG start = GetTickCount64();
    switch (way) {
      case StopBy::Escape: {
        run.app.Focus(IDC_FileButton);
        SendKey(VK_ESCAPE);
        HWND stopped = WaitForDialog(run.app.ProcessId(), L"Information");
        EXPECT_LE(GetTickCount64() - start, 1000u);
        ASSERT_NE(stopped, nullptr);
        EXPECT_EQ(MessageOf(stopped), kStopped);
        PressDialogButton(stopped, IDOK);
        break;
      }
      case StopBy::Close:
        PostMessageW(run.app.MainWindow(), WM_CLOSE, 0, 0);
        EXPECT_EQ(run.app.WaitForExit(), 0u);
        EXPECT_LE(GetTickCount64() - start, 3000u);
        break;
      case StopBy::LogOff: {
        DWORD_PTR ignored;
        EXPECT_NE(SendMessageTimeoutW(run.app.MainWindow(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                      SMTO_BLOCK, 3000, &ignored),
                  0);
        EXPECT_EQ(run.app.WaitForExit(), 0u);
        break;
      }
    }
    EXPECT_EQ(ReadBytes(run.Ok()), "old ok\r\n");
    EXPECT_EQ(ReadBytes(run.Bad()), "old bad\r\n");
    run.Input().End();
    EXPECT_TRUE(WaitUntil([&] { return TemporaryCount(run.app.Folder()) == 0; }));
    EXPECT_EQ(ReadBytes(run.Ok()), "old ok\r\n");
  }
}

// While a run lasts the other controls take no input: a click on "Zavřít", a click message to "O
// programu" or a typed key does nothing, and the run goes on.
TEST(LongRun, OtherControlsIgnoreInputWhileTheRunLasts) {
  LongRun run;
  run.Start(2);
  run.app.SetText(IDC_SingleEdit, L"123");
  run.app.Focus(IDC_SingleEdit);
  SendKey('4');
  ClickWithMouse(run.app.Control(IDC_CloseButton));
  // A click that does not come through the mouse, as a screen reader's or an automation tool's.
  PostMessageW(run.app.Control(IDC_AboutButton), BM_CLICK, 0, 0);
  Settle(run.app.MainWindow());
  const int lines = LinesShown(run.Caption());
  EXPECT_TRUE(WaitUntil([&] { return LinesShown(run.Caption()) > lines; })) << "the run ended";
  EXPECT_EQ(run.app.Text(IDC_SingleEdit), L"123");
  EXPECT_TRUE(IsWindow(run.app.MainWindow()));
  EXPECT_EQ(FindVisibleWindow(run.app.ProcessId(), L"TAboutForm"), nullptr);
  run.Input().End();
  const int rounds = run.Input().Rounds();
  HWND done = WaitForDialog(run.app.ProcessId(), L"Information");
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageOf(done), DoneText(rounds));
  PressDialogButton(done, IDOK);
}

}  // namespace
}  // namespace sipo::uitest
