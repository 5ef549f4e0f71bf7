// main_windows.cpp - sipocheck's entry on Windows: standard streams in binary mode, file names as
// the UTF-16 names Windows gives, texts shown in the console's code page, and a console's
// interruption that leaves no temporary file behind.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/interrupt_monitor.h"
#include "cli/sipocheck.h"
#include "files/interruption.h"
#include "files/native_path.h"
#include "win/decimal_separator.h"
#include "win/final_path.h"
#include "win/win_text.h"

namespace {

UINT ConsoleCodePage() {
  const UINT codePage = GetConsoleOutputCP();
  return codePage == 0 ? GetACP() : codePage;
}

std::string InConsoleCodePage(std::string_view cp1250) {
  if (ConsoleCodePage() == 1250) return std::string(cp1250);
  return sipo::win::InCodePage(sipo::win::Widen(cp1250), ConsoleCodePage());
}

// Arguments are held as UTF-8, which keeps every name Windows can give.
std::filesystem::path PathOfArg(std::string_view utf8) {
  return std::filesystem::path(sipo::win::WidenUtf8(utf8));
}

std::string Cp1250OfArg(std::string_view utf8) {
  return sipo::win::Narrow(sipo::win::WidenUtf8(utf8));
}

std::string ShownArg(std::string_view utf8) {
  return sipo::win::InCodePage(sipo::win::WidenUtf8(utf8), ConsoleCodePage());
}

// The system's own words for a failure, in the console's code page: the runtime's text would be
// in the ANSI code page, which a Czech console (852) shows garbled.
std::string ReasonInConsole(const std::error_code& error) {
  if (error.category() != std::system_category()) return error.message();
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(error.value()), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length == 0 || text == nullptr) return error.message();
  std::wstring reason(text, length);
  LocalFree(text);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' ||
                             reason.back() == L' ' || reason.back() == L'.'))
    reason.pop_back();
  return sipo::win::InCodePage(reason, ConsoleCodePage());
}

// The interruption arrives a few milliseconds after a pipe that the same Ctrl-C ended.
constexpr std::chrono::milliseconds kInterruptGrace{100};
// Time for a run to stop by itself before the handler ends it (it is then blocked in a read):
// a stop never waits for data longer than this.
constexpr std::chrono::milliseconds kRunStopWait{500};

bool StandardErrorIsTerminal() {
  return _isatty(_fileno(stderr)) != 0;
}

void ReportToStandardError(const char* line) {
  std::fputs(line, stderr);
  std::fflush(stderr);
}

[[noreturn]] void EndProcess(int status) {
  ExitProcess(static_cast<UINT>(status));
}

// Runs on a thread of its own. The run stops after its next read, removes its temporaries (which
// no other thread can remove while they are open), reports and exits with the interruption's
// status; a run blocked in a read is ended by the handler. Returning would let the default
// handler end the process at once, cutting the report and keeping the temporaries.
BOOL WINAPI OnConsoleControl(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      sipo::cli::EndInterruptedRun(kRunStopWait, ReportToStandardError, EndProcess);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  try {
    // First of all: a stop in the run's first moments must say what it did too.
    sipo::SetInterruptMessage(sipo::cli::kInterruptedBeforeRun);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    // Text mode would end standard input at a byte 0x1A and turn LF into CR LF on output.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    sipo::SetLinkResolver(sipo::win::FinalPathOf);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(sipo::win::InCodePage(argv[i], CP_UTF8));
    sipo::cli::Console console{InConsoleCodePage, InConsoleCodePage,
                               sipo::win::ReadUserDecimalSeparator()};
    console.pathOf = PathOfArg;
    console.argText = Cp1250OfArg;
    // A text is written, like its status, in the console's code page, with every character
    // that code page has.
    console.unicodeText = ShownArg;
    console.argTextShown = ShownArg;
    console.argShown = ShownArg;
    console.reasonText = ReasonInConsole;
    console.readsProcessInput = true;
    console.interruptGrace = kInterruptGrace;
    console.errorIsTerminal = StandardErrorIsTerminal;
    const int status = sipo::cli::RunSipocheck(args, std::cin, std::cout, std::cerr, console);
    // An interrupted run has removed its temporaries and reported; it ends as Linux's does.
    return sipo::InterruptRequested() ? sipo::cli::kExitInterrupted : status;
  } catch (const std::bad_alloc&) {
    std::fputs("sipocheck: out of memory\n", stderr);
    return sipo::cli::kExitFailed;
  }
}
