// The notification icon as the shell sees it: a stand-in taskbar window of the shell's class takes
// the icon messages that Shell_NotifyIconA sends it (WM_COPYDATA, the operation in dwData, the
// owner window and icon id at the start of the data).
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "tests/controller/shell/win32/controller_program.h"
#include "tools/harness/win32/robot.h"

namespace ph::test {
namespace {

struct IconCall {
  DWORD operation;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
  LONG owner;
  UINT id;
};

class FakeTaskbar {
 public:
  FakeTaskbar() {
    WNDCLASSA cls = {};
    cls.lpfnWndProc = &FakeTaskbar::Proc;
    cls.hInstance = ::GetModuleHandleA(nullptr);
    cls.lpszClassName = "Shell_TrayWnd";
    ::RegisterClassA(&cls);
    window_.reset(::CreateWindowExA(0, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    cls.hInstance, nullptr));
    ::SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }

  bool ok() const { return static_cast<bool>(window_); }
  const std::vector<IconCall>& calls() const { return calls_; }
  std::size_t Count(DWORD operation) const {
    std::size_t n = 0;
    for (const IconCall& c : calls_) n += c.operation == operation;
    return n;
  }

  // Answers the icon messages (they are sent) until done() holds or the time is up.
  bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
      if (::GetTickCount() - start > timeout_ms) return false;
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      MSG message;
      while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    }
    return true;
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<FakeTaskbar*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && message == WM_COPYDATA) {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      if (data->cbData >= 8) {
        const auto* fields = static_cast<const BYTE*>(data->lpData);
        IconCall call{static_cast<DWORD>(data->dwData), 0, 0};
        std::memcpy(&call.owner, fields, 4);
        std::memcpy(&call.id, fields + 4, 4);
        self->calls_.push_back(call);
      }
      return TRUE;
    }
    return ::DefWindowProcA(hwnd, message, wparam, lparam);
  }

  win::UniqueHwnd window_;
  std::vector<IconCall> calls_;
};

class TrayIconTest : public ::testing::Test {
 protected:
  void SetUp() override { RemoveProductKey(); }
  void TearDown() override {
    program_.Stop();
    RemoveProductKey();
  }
  ControllerProgram program_;
};

TEST_F(TrayIconTest, IconIsAddedForTheMainWindowKeptByTheTimerAndRemovedAtExit) {
  auto taskbar = std::make_unique<FakeTaskbar>();
  ASSERT_TRUE(taskbar->ok());
  ASSERT_TRUE(program_.Start("/noflash"));
  ASSERT_TRUE(taskbar->PumpUntil([&] { return taskbar->Count(NIM_ADD) >= 1; }, robot::kWaitMs));
  const HWND controller = robot::FindController();
  ASSERT_NE(controller, nullptr);
  EXPECT_EQ(taskbar->calls()[0].owner, static_cast<LONG>(reinterpret_cast<LONG_PTR>(controller)));
  EXPECT_EQ(taskbar->calls()[0].id, 0u);

  // A second copy ends at once, without an icon of its own: every icon call names the first's window.
  ControllerProgram second;
  ASSERT_TRUE(second.Start("/noflash"));
  EXPECT_TRUE(taskbar->PumpUntil([&] { return second.WaitForExit(0) == 0; }, robot::kWaitMs));

  // The taskbar goes and comes back: the icon is added again within five seconds.
  taskbar.reset();
  taskbar = std::make_unique<FakeTaskbar>();
  const DWORD back = ::GetTickCount();
  EXPECT_TRUE(taskbar->PumpUntil([&] { return taskbar->Count(NIM_ADD) >= 1; }, 6000));
  EXPECT_LE(::GetTickCount() - back, 5500u);

  ::PostMessageA(controller, WM_COMMAND, 57665, 0);
  EXPECT_TRUE(taskbar->PumpUntil([&] { return taskbar->Count(NIM_DELETE) >= 1; }, robot::kWaitMs));
  EXPECT_EQ(program_.WaitForExit(), 0);
  for (const IconCall& call : taskbar->calls())
    EXPECT_EQ(call.owner, static_cast<LONG>(reinterpret_cast<LONG_PTR>(controller)));
}

}  // namespace
}  // namespace ph::test
