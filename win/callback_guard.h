// callback_guard.h - the body of a function that Windows calls, with no C++ exception let through.
#pragma once

namespace sipo::win {

// Runs body and returns its result; an exception, which must never unwind through the system's
// frames (an enumeration, a hook, another process's COM call), gives failure instead. For
// procedures whose errors have no window to be shown in: a window's own handlers use the window's
// error box instead.
template <typename Result, typename Body>
Result GuardCallback(Result failure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

}  // namespace sipo::win
