// The band in the stand-in browser window, and a user's clicks on its toolbar.
#include "tests/band/shell/win32/attached_band.h"

#include <commctrl.h>

#include <atomic>
#include <memory>

#include "common/settings_names.h"
#include "platform/win32/unique_handle.h"
#include "tests/controller/shell/win32/controller_program.h"
#include "tools/harness/win32/robot.h"

namespace ph::test {

DWORD StoredSetting(const char* name) {
  DWORD value = 0xffffffff, size = sizeof value, type = 0;
  if (::RegGetValueA(HKEY_CURRENT_USER, reg::kProductKey, name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
      type != REG_BINARY)
    return 0xffffffff;
  return value;
}

void StoreSetting(const char* name, DWORD value) {
  win::UniqueHkey key;
  ::RegCreateKeyExA(HKEY_CURRENT_USER, reg::kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
  ::RegSetValueExA(key.get(), name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void AttachedBandTest::SetUp() {
  RemoveProductKey();
  ASSERT_EQ(library_.Regsvr32(), 0);
}

void AttachedBandTest::TearDown() {
  host_.reset();
  RemoveProductKey();
}

void AttachedBandTest::Attach() {
  host_ = std::make_unique<BrowserHost>();
  ASSERT_EQ(host_->AttachBand(), S_OK);
  toolbar_ = host_->Toolbar();
  ASSERT_TRUE(toolbar_);
}

RECT AttachedBandTest::ButtonRect(int command) const {
  RECT rect = {};
  ::SendMessageA(toolbar_, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&rect));
  return rect;
}

void AttachedBandTest::ClickButton(int command) const {
  const RECT rect = ButtonRect(command);
  const LPARAM at = MAKELPARAM(rect.left + 8, (rect.top + rect.bottom) / 2);
  ::PostMessageA(toolbar_, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageA(toolbar_, WM_LBUTTONUP, 0, at);
  WaitForBand();
}

bool AttachedBandTest::ButtonEnabled(int command) const {
  return ::SendMessageA(toolbar_, TB_ISBUTTONENABLED, static_cast<WPARAM>(command), 0) != 0;
}

bool AttachedBandTest::ButtonChecked(int command) const {
  return ::SendMessageA(toolbar_, TB_ISBUTTONCHECKED, static_cast<WPARAM>(command), 0) != 0;
}

std::string AttachedBandTest::ButtonText(int command) const {
  char text[64] = {};
  const LRESULT n =
      ::SendMessageA(toolbar_, TB_GETBUTTONTEXTA, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(text));
  return n > 0 ? text : "";
}

HWND AttachedBandTest::OpenMenu() const {
  const RECT rect = ButtonRect(101);
  ::PostMessageA(toolbar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.right - 4, (rect.top + rect.bottom) / 2));
  return robot::WaitForWindow("", robot::kWaitMs, "#32768");
}

void AttachedBandTest::Choose(HWND menu, char key, bool closes) const {
  ::PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(key), 0);
  if (!closes) return;
  // The menu posts its command before it closes; what is posted after it comes after it.
  robot::WaitUntilGone(menu);
  WaitForBand();
}

void AttachedBandTest::WaitForBand() const {
  // Posted, not sent: a sent message would overtake what is waiting in the thread's queue.
  auto done = std::make_shared<std::atomic<bool>>(false);
  host_->Post([done] { *done = true; });
  PollFor([&] { return done->load(); });
}

bool AttachedBandTest::AnswerRestartMessage() const {
  const HWND box = robot::WaitForWindow("Page Grabber");
  if (!box) return false;
  const std::string text = robot::MessageBoxText(box);
  robot::Click(box, IDOK);
  robot::WaitUntilGone(box);
  WaitForBand();
  return text == kRestartMessage;
}

}  // namespace ph::test
