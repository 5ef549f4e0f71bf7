// main_posix.cpp - sipocheck's entry on Linux: arguments as given, read in the locale's encoding
// where a character matters (the delimiter, a text to check), and texts written in it.
#include <langinfo.h>

#include <climits>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/interrupt_monitor.h"
#include "cli/sipocheck.h"
#include "cli/unicode_text.h"
#include "core/codepage1250.h"
#include "files/interruption.h"

namespace {

char LocaleDecimalSeparator() {
  std::setlocale(LC_NUMERIC, "");
  const std::string point = std::localeconv()->decimal_point;
  std::setlocale(LC_NUMERIC, "C");
  return point.size() == 1 ? point[0] : '.';
}

// The locale's character set is taken for a conversion and given back at once, so that nothing
// else in the program reads characters by it.
class LocaleCharacters {
 public:
  LocaleCharacters() { std::setlocale(LC_CTYPE, ""); }
  ~LocaleCharacters() { std::setlocale(LC_CTYPE, "C"); }
  LocaleCharacters(const LocaleCharacters&) = delete;
  LocaleCharacters& operator=(const LocaleCharacters&) = delete;
};

// Texts are UTF-8 under a UTF-8 locale, and under the C locale too: its ASCII has no Czech
// letter, and a status that scripts match on must keep its letters.
bool LocaleIsUtf8() {
  static const bool utf8 = [] {
    const LocaleCharacters locale;
    const char* set = nl_langinfo(CODESET);
    return std::strcmp(set, "UTF-8") == 0 || std::strcmp(set, "ANSI_X3.4-1968") == 0;
  }();
  return utf8;
}

// An argument in the locale's encoding as UTF-8; nothing when it is not valid there.
std::optional<std::string> LocaleToUtf8(std::string_view arg) {
  if (LocaleIsUtf8()) {
    if (!sipo::cli::Utf8ToUtf16(arg)) return std::nullopt;
    return std::string(arg);
  }
  const LocaleCharacters locale;
  std::string utf8;
  std::mbstate_t state{};
  for (std::size_t i = 0; i < arg.size();) {
    wchar_t c;
    const std::size_t size = std::mbrtowc(&c, arg.data() + i, arg.size() - i, &state);
    if (size == 0 || size > arg.size() - i) return std::nullopt;
    const auto code = static_cast<std::uint32_t>(c);
    if (code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return std::nullopt;
    sipo::cli::AppendUtf8(utf8, code);
    i += size;
  }
  return utf8;
}

// A UTF-8 text in the locale's encoding; a character it lacks becomes '?'.
std::string Utf8ToLocale(std::string_view utf8) {
  if (LocaleIsUtf8()) return std::string(utf8);
  const std::optional<std::u16string> units = sipo::cli::Utf8ToUtf16(utf8);
  if (!units) return std::string(utf8);
  const LocaleCharacters locale;
  std::string text;
  std::mbstate_t state{};
  char bytes[MB_LEN_MAX];
  for (std::size_t i = 0; i < units->size(); ++i) {
    std::uint32_t code = (*units)[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < units->size())
      code = 0x10000 + ((code - 0xD800) << 10) + ((*units)[++i] - 0xDC00u);
    const std::size_t size = std::wcrtomb(bytes, static_cast<wchar_t>(code), &state);
    if (size == static_cast<std::size_t>(-1)) {
      text.push_back('?');
      state = {};
    } else {
      text.append(bytes, size);
    }
  }
  return text;
}

std::string Cp1250ToLocale(std::string_view cp1250) {
  return Utf8ToLocale(sipo::Cp1250ToUtf8(cp1250));
}

// The delimiter's character as UTF-8; bytes that are no text in the locale are given unchanged.
std::string ArgUtf8(std::string_view arg) {
  return LocaleToUtf8(arg).value_or(std::string(arg));
}

// A text to check, given in the locale's encoding, as the Windows-1250 text checked; bytes that
// are no text there are taken as Windows-1250 bytes, as a script may give them.
std::string ArgCp1250(std::string_view arg) {
  const std::optional<std::string> utf8 = LocaleToUtf8(arg);
  return utf8 ? sipo::Utf16ToCp1250(*sipo::cli::Utf8ToUtf16(*utf8)) : std::string(arg);
}

// The same text as "check" writes it: as given, or its Windows-1250 reading in the locale's
// encoding.
std::string ArgShownAsChecked(std::string_view arg) {
  return LocaleToUtf8(arg) ? std::string(arg) : Cp1250ToLocale(arg);
}

bool StandardErrorIsTerminal() {
  return isatty(STDERR_FILENO) != 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    // First of all: a stop in the run's first moments must say what it did too.
    sipo::SetInterruptMessage(sipo::cli::kInterruptedBeforeRun);
    sipo::InstallInterruptCleanup();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    sipo::cli::Console console{Cp1250ToLocale, Cp1250ToLocale, LocaleDecimalSeparator()};
    console.unicodeText = Utf8ToLocale;
    console.argText = ArgCp1250;
    console.argTextShown = ArgShownAsChecked;
    console.argUtf8 = ArgUtf8;
    console.readsProcessInput = true;
    console.errorIsTerminal = StandardErrorIsTerminal;
    return sipo::cli::RunSipocheck(args, std::cin, std::cout, std::cerr, console);
  } catch (const std::bad_alloc&) {
    std::fputs("sipocheck: out of memory\n", stderr);
    return sipo::cli::kExitFailed;
  }
}
