// The band attached to the stand-in browser window: its toolbar, control window and menu, used as a
// user uses them, with the messages answered and the settings read back from the registry.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/settings_names.h"
#include "platform/win32/unique_handle.h"
#include "tests/band/shell/win32/band_library.h"
#include "tests/band/shell/win32/browser_host.h"
#include "tests/controller/shell/win32/controller_program.h"
#include "tools/harness/win32/robot.h"

namespace ph::test {
namespace {

constexpr char kRestartMessage[] =
    "The toolbar may need to restart for it display properly (restarting browser would work)";

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

class BandToolbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveProductKey();
    ASSERT_EQ(library_.Regsvr32(), 0);
  }
  void TearDown() override {
    host_.reset();
    RemoveProductKey();
  }

  void Attach() {
    host_ = std::make_unique<BrowserHost>();
    ASSERT_EQ(host_->AttachBand(), S_OK);
    toolbar_ = host_->Toolbar();
    ASSERT_TRUE(toolbar_);
  }

  RECT ButtonRect(int command) const {
    RECT rect = {};
    ::SendMessageA(toolbar_, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
  // A left click at a point of the toolbar, as the mouse gives it.
  void ClickAt(int x, int y) const {
    ::PostMessageA(toolbar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(toolbar_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    robot::Settle(toolbar_);
  }
  void ClickButton(int command) const {
    const RECT rect = ButtonRect(command);
    ClickAt((rect.left + rect.right) / 2 - 8, (rect.top + rect.bottom) / 2);
  }
  // Opens the drop-down with a click on the arrow of "Start Selection"; the menu's window.
  HWND OpenMenu() const {
    const RECT rect = ButtonRect(101);
    ::PostMessageA(toolbar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.right - 4, (rect.top + rect.bottom) / 2));
    return robot::WaitForWindow("", robot::kWaitMs, "#32768");
  }
  // Picks a menu entry by its mnemonic, as a user typing it would.
  void Choose(HWND menu, char key) const { ::PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(key), 0); }
  std::string ButtonText(int command) const {
    char text[64] = {};
    const LRESULT n = ::SendMessageA(toolbar_, TB_GETBUTTONTEXTA, static_cast<WPARAM>(command),
                                     reinterpret_cast<LPARAM>(text));
    return n > 0 ? text : "";
  }
  // Answers the restart message; false when it did not come.
  bool AnswerRestartMessage() const {
    const HWND box = robot::WaitForWindow("Page Grabber");
    if (!box) return false;
    const std::string text = robot::MessageBoxText(box);
    robot::Click(box, IDOK);
    robot::WaitUntilGone(box);
    robot::Settle(toolbar_);
    return text == kRestartMessage;
  }

  BandLibrary library_;
  std::unique_ptr<BrowserHost> host_;
  HWND toolbar_ = nullptr;
};

TEST_F(BandToolbarTest, AttachingBuildsTheToolbarAndItsControlWindowAndConnectsToTheBrowser) {
  Attach();
  EXPECT_EQ(::GetParent(toolbar_), host_->window());
  EXPECT_EQ(::GetDlgCtrlID(toolbar_), 100);
  EXPECT_EQ(::SendMessageA(toolbar_, TB_BUTTONCOUNT, 0, 0), 2);
  EXPECT_TRUE(::SendMessageA(toolbar_, TB_ISBUTTONENABLED, 101, 0));
  EXPECT_FALSE(::SendMessageA(toolbar_, TB_ISBUTTONENABLED, 102, 0));
  EXPECT_EQ(ButtonText(101), "Start Selection");
  EXPECT_EQ(ButtonText(102), "Quick Save");
  const HWND control = host_->ControlWindow();
  ASSERT_TRUE(control);
  EXPECT_FALSE(::IsWindowVisible(control));
  HWND reported = nullptr;
  host_->Run([&] {
    host_->band()->GetWindow(&reported);
    host_->band()->ShowDW(FALSE);
  });
  EXPECT_EQ(reported, toolbar_);
  EXPECT_FALSE(::IsWindowVisible(toolbar_));
  EXPECT_EQ(host_->browser().connections(), 1u);

  // Tooltips ask the control window, which names the buttons even when they show no labels.
  NMTTDISPINFOA tip = {};
  tip.hdr.hwndFrom = toolbar_;
  tip.hdr.idFrom = 102;
  tip.hdr.code = TTN_GETDISPINFOA;
  ::SendMessageA(control, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
  ASSERT_TRUE(tip.lpszText);
  EXPECT_STREQ(tip.lpszText, "Quick Save");
  EXPECT_TRUE(tip.uFlags & TTF_DI_SETITEM);

  // Focus changes reach the band site.
  ::SendMessageA(control, WM_SETFOCUS, 0, 0);
  EXPECT_EQ(host_->focus_changes(), 1);

  // Closing destroys both windows and stores the settings; detaching ends the connection.
  StoreSetting(reg::kBandTextStyle, 7);
  host_->Run([&] { host_->band()->CloseDW(0); });
  EXPECT_FALSE(::IsWindow(toolbar_));
  EXPECT_FALSE(::IsWindow(control));
  EXPECT_EQ(StoredSetting(reg::kBandTextStyle), 0u);
  host_->Run([&] {
    win::ComPtr<IObjectWithSite> with_site;
    host_->band()->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(with_site.put()));
    with_site->SetSite(nullptr);
  });
  EXPECT_EQ(host_->browser().connections(), 0u);
}

TEST_F(BandToolbarTest, TheDropDownShowsTheSettingsAndItsEntriesChangeAndStoreThem) {
  StoreSetting(reg::kBandIconSize, 0);
  StoreSetting(reg::kBandTextStyle, 2);
  Attach();
  EXPECT_EQ(ButtonText(101), "");

  HWND menu = OpenMenu();
  ASSERT_TRUE(menu) << robot::DescribeDialogs();
  const HMENU shown = reinterpret_cast<HMENU>(::SendMessageA(menu, MN_GETHMENU, 0, 0));
  ASSERT_TRUE(shown);
  EXPECT_TRUE(::GetMenuState(shown, 204, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(::GetMenuState(shown, 205, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(::GetMenuState(shown, 207, MF_BYCOMMAND) & MF_CHECKED);
  Choose(menu, 's');  // &Show Text
  ASSERT_TRUE(AnswerRestartMessage()) << robot::DescribeDialogs();
  EXPECT_EQ(ButtonText(101), "Start Selection");
  EXPECT_EQ(StoredSetting(reg::kBandTextStyle), 0u);

  menu = OpenMenu();
  ASSERT_TRUE(menu);
  Choose(menu, 'i');  // &Icon
  const HWND icons = robot::WaitForWindow("", robot::kWaitMs, "#32768");
  ASSERT_TRUE(icons);
  ::Sleep(100);
  Choose(menu, 'l');  // &Large, in the open sub-menu
  ASSERT_TRUE(AnswerRestartMessage()) << robot::DescribeDialogs();
  EXPECT_EQ(StoredSetting(reg::kBandIconSize), 1u);

  menu = OpenMenu();
  ASSERT_TRUE(menu);
  const HMENU again = reinterpret_cast<HMENU>(::SendMessageA(menu, MN_GETHMENU, 0, 0));
  EXPECT_TRUE(::GetMenuState(again, 205, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(::GetMenuState(again, 207, MF_BYCOMMAND) & MF_CHECKED);
  ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  robot::Settle(toolbar_);
}

}  // namespace
}  // namespace ph::test
