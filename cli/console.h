// console.h - what the platform gives the command-line program: how texts reach the console,
// what an argument means, and the exit statuses, shared by the commands and the entry.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace sipo::cli {

inline constexpr int kExitOk = 0;
// "file" and the program as a whole: a file could not be read or written, or memory ran out.
inline constexpr int kExitFailed = 1;
// "check": a text is not valid. A script tells that from a check it could not make (below).
inline constexpr int kExitNotValid = 1;
inline constexpr int kExitUsage = 2;
// The outputs were written, but a NUL cut the input short: part of it was not checked.
inline constexpr int kExitIncomplete = 3;
// "file --fail-on-bad": the outputs were written, and at least one line went to the bad one.
inline constexpr int kExitBadLines = 4;
// "check" could not read standard input or write its answers, or memory ran out.
inline constexpr int kExitCannotCheck = 5;
// A run that an interruption ended, as a shell reports a process that SIGINT ended.
inline constexpr int kExitInterrupted = 130;

std::filesystem::path PathAsGiven(std::string_view arg);
std::string TextAsGiven(std::string_view arg);
std::string ReasonAsGiven(const std::error_code& error);
// For a console that shows no progress line: the platform's entry gives the real test.
bool NoTerminal();

// What the platform supplies: how texts reach the console, the locale's decimal separator, and
// what an argument means as a file name and as a text to check.
struct Console {
  // Windows-1250 status text in the console's encoding.
  std::string (*statusText)(std::string_view cp1250);
  // A checked text, as a Windows-1250 text, in the console's encoding.
  std::string (*inputText)(std::string_view text);
  char decimalSeparator;
  // A checked text read as Unicode (given as UTF-8), with all its characters, in the console's
  // encoding.
  std::string (*unicodeText)(std::string_view utf8) = TextAsGiven;
  // The file an argument names: on Windows the UTF-16 name the system gave, so that any name
  // works.
  std::filesystem::path (*pathOf)(std::string_view arg) = PathAsGiven;
  // An argument as the Windows-1250 text that is checked.
  std::string (*argText)(std::string_view arg) = TextAsGiven;
  // The same argument as "check" writes it, with all its characters, in the console's encoding.
  std::string (*argTextShown)(std::string_view arg) = TextAsGiven;
  // An argument as UTF-8: on Windows arguments are held so already, on Linux they are in the
  // locale's encoding. One that is not valid there is given unchanged.
  std::string (*argUtf8)(std::string_view arg) = TextAsGiven;
  // An argument (a file name) in the console's encoding, for messages.
  std::string (*argShown)(std::string_view arg) = TextAsGiven;
  // Why a file could not be opened, read or written, as the system words it, in the console's
  // encoding.
  std::string (*reasonText)(const std::error_code& error) = ReasonAsGiven;
  // "check" reads the process's own standard input, as it comes, rather than the stream given.
  bool readsProcessInput = false;
  // How long a file run whose input of unknown size has ended waits for an interruption that
  // may still be on its way (Windows delivers it on another thread, a little late).
  std::chrono::milliseconds interruptGrace{0};
  // Whether the error stream is a terminal, where the file run shows its progress line.
  bool (*errorIsTerminal)() = NoTerminal;
};

}  // namespace sipo::cli
