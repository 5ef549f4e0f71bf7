// clipboard.cpp - the clipboard's text as Windows-1250 bytes, through its Unicode format.
#include "win/clipboard.h"

#include <cstring>
#include <stdexcept>

#include "win/win_text.h"

namespace sipo::win {
namespace {

constexpr const char* kCannotOpen = "Cannot open clipboard";

// Closes the clipboard on every path out of a read or a write.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

// The Unicode format, so that Czech letters come through whatever the system's code page; the
// read stops at the memory block's end even when another program left out the final NUL.
std::string ReadOpenClipboard() {
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (data == nullptr) return {};
  const auto* chars = static_cast<const wchar_t*>(GlobalLock(data));
  if (chars == nullptr) return {};
  const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
  std::size_t length = 0;
  while (length < capacity && chars[length] != L'\0') ++length;
  std::string text = Narrow(std::wstring_view(chars, length));
  GlobalUnlock(data);
  return text;
}

}  // namespace

std::string ReadClipboardText(HWND owner) {
  if (auto text = TryReadClipboardText(owner)) return std::move(*text);
  throw std::runtime_error(kCannotOpen);
}

std::optional<std::string> TryReadClipboardText(HWND owner) {
  OpenedClipboard clipboard(owner);
  if (!clipboard.IsOpen()) return std::nullopt;
  return ReadOpenClipboard();
}

// The memory is filled before the clipboard is opened and emptied, so a failure leaves the
// clipboard untouched. Windows offers the single-byte text to programs that ask for it, in the
// system's code page.
void WriteClipboardText(HWND owner, std::string_view cp1250) {
  const std::wstring wide = Widen(cp1250);
  const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) throw std::runtime_error("Out of memory");
  std::memcpy(GlobalLock(memory), wide.c_str(), bytes);
  GlobalUnlock(memory);
  OpenedClipboard clipboard(owner);
  if (!clipboard.IsOpen()) {
    GlobalFree(memory);
    throw std::runtime_error(kCannotOpen);
  }
  EmptyClipboard();
  if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
    GlobalFree(memory);
    throw std::runtime_error("Cannot write to the clipboard");
  }
}

}  // namespace sipo::win
