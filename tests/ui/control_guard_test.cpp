// In-process tests of the guard around subclassed controls: a control whose handler throws shows
// the program's error box, and the control and the program carry on. The test makes its own
// window and control on the windows' library, so it needs a display but not the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

#include "ui/base/subclassed_control.h"
#include "ui/base/window_base.h"
#include "win/callback_guard.h"

namespace sipo::ui {
namespace {

constexpr UINT kFail = WM_APP + 11;    // the handler throws what the test gives it
constexpr UINT kAnswer = WM_APP + 12;  // the handler answers kAnswerValue
constexpr LRESULT kAnswerValue = 4711;

// What the control's member throws, and whether the object is still there.
struct Probe {
  std::function<void()> fail;
  bool alive = false;
};

class ThrowingControl : public SubclassedControl {
 public:
  explicit ThrowingControl(Probe& probe) : probe_(probe) { probe_.alive = true; }
  ~ThrowingControl() override { probe_.alive = false; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case kFail:
        probe_.fail();
        return kAnswerValue;
      case kAnswer:
        return kAnswerValue;
      default:
        return Default(message, wParam, lParam);
    }
  }

 private:
  Probe& probe_;
};

// A message box seen by a CBT hook as it is activated: its caption and text, then closed with OK.
struct SeenBox {
  int count = 0;
  std::wstring caption;
  std::wstring text;
};

SeenBox* seen = nullptr;
HHOOK hook = nullptr;

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && seen != nullptr) {
    HWND box = reinterpret_cast<HWND>(wParam);
    wchar_t className[32] = {};
    GetClassNameW(box, className, 32);
    if (std::wstring(className) == L"#32770") {
      wchar_t buffer[512] = {};
      GetWindowTextW(box, buffer, 512);
      seen->caption = buffer;
      GetDlgItemTextW(box, 0xFFFF, buffer, 512);
      seen->text = buffer;
      ++seen->count;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

class BoxWatch {
 public:
  explicit BoxWatch(SeenBox& box) {
    seen = &box;
    hook = SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
  }
  ~BoxWatch() {
    UnhookWindowsHookEx(hook);
    seen = nullptr;
  }
  BoxWatch(const BoxWatch&) = delete;
  BoxWatch& operator=(const BoxWatch&) = delete;
};

// A top-level window with one button in it, the button guarded by a ThrowingControl.
class GuardedButton : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramTitle("Sipo");
    window_ = CreateWindowExW(0, L"STATIC", L"guard test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                              200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    button_ = CreateWindowExW(0, L"BUTTON", L"Press", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24,
                              window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(button_, nullptr);
    ASSERT_TRUE(SubclassedControl::Attach<ThrowingControl>(button_, probe_));
  }
  void TearDown() override {
    if (window_ != nullptr) DestroyWindow(window_);
  }

  Probe probe_;
  HWND window_ = nullptr;
  HWND button_ = nullptr;
};

TEST_F(GuardedButton, AThrowingHandlerShowsTheErrorBoxAndTheControlCarriesOn) {
  struct Case {
    const char* what;
    std::function<void()> fail;
    const wchar_t* message;
  };
  const Case cases[] = {
      {"an error without a full stop", [] { throw std::runtime_error("Broken handler"); },
       L"Broken handler."},
      {"an error ending in a full stop", [] { throw std::invalid_argument("Broken."); },
       L"Broken."},
      {"something that is no std::exception", [] { throw 42; }, L"Unknown error."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SeenBox box;
    probe_.fail = c.fail;
    {
      BoxWatch watch(box);
      EXPECT_EQ(SendMessageW(button_, kFail, 0, 0), 0);
    }
    EXPECT_EQ(box.count, 1);
    EXPECT_EQ(box.caption, L"Sipo");
    EXPECT_EQ(box.text, c.message);
    // The same control goes on answering, through the member and through the button's own
    // procedure.
    EXPECT_TRUE(probe_.alive);
    EXPECT_EQ(SendMessageW(button_, kAnswer, 0, 0), kAnswerValue);
    wchar_t text[16] = {};
    GetWindowTextW(button_, text, 16);
    EXPECT_STREQ(text, L"Press");
  }
}

TEST_F(GuardedButton, AHandlerThatDoesNotThrowShowsNoBox) {
  SeenBox box;
  probe_.fail = [] {};
  {
    BoxWatch watch(box);
    EXPECT_EQ(SendMessageW(button_, kFail, 0, 0), kAnswerValue);
  }
  EXPECT_EQ(box.count, 0);
}

// The control owns its object: it goes with the control, and not before.
TEST_F(GuardedButton, TheObjectGoesWithItsControl) {
  EXPECT_TRUE(probe_.alive);
  DestroyWindow(button_);
  EXPECT_FALSE(probe_.alive);
}

// An enumeration callback guarded as the program's are: the first window's visit throws, the
// enumeration ends there as failed, and the thread carries on to enumerate again.
struct Visits {
  int count = 0;
  bool fail = false;
};

BOOL CALLBACK VisitWindow(HWND, LPARAM param) {
  return win::GuardCallback(FALSE, [&] {
    auto* visits = reinterpret_cast<Visits*>(param);
    ++visits->count;
    if (visits->fail) throw std::bad_alloc();
    return TRUE;
  });
}

TEST_F(GuardedButton, AThrowingEnumerationCallbackEndsTheEnumeration) {
  Visits failing{0, true};
  EXPECT_FALSE(
      EnumThreadWindows(GetCurrentThreadId(), VisitWindow, reinterpret_cast<LPARAM>(&failing)));
  EXPECT_EQ(failing.count, 1);
  Visits plain;
  EXPECT_TRUE(
      EnumThreadWindows(GetCurrentThreadId(), VisitWindow, reinterpret_cast<LPARAM>(&plain)));
  EXPECT_GE(plain.count, 1);  // the test's own window at least
}

}  // namespace
}  // namespace sipo::ui
