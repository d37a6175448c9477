// The band's toolbar, control window and menu in the stand-in browser window, used as a user uses them.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "common/settings_names.h"
#include "platform/win32/com_ptr.h"
#include "tests/band/shell/win32/attached_band.h"
#include "tools/harness/win32/robot.h"

namespace ph::test {
namespace {

using BandToolbarTest = AttachedBandTest;

TEST_F(BandToolbarTest, AttachingBuildsTheToolbarAndItsControlWindowAndConnectsToTheBrowser) {
  Attach();
  EXPECT_EQ(::GetParent(toolbar_), host_->window());
  EXPECT_EQ(::GetDlgCtrlID(toolbar_), 100);
  EXPECT_EQ(::SendMessageA(toolbar_, TB_BUTTONCOUNT, 0, 0), 2);
  EXPECT_TRUE(ButtonEnabled(101));
  EXPECT_FALSE(ButtonEnabled(102));
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
  NMTTDISPINFOW wide_tip = {};
  wide_tip.hdr = tip.hdr;
  wide_tip.hdr.idFrom = 101;
  wide_tip.hdr.code = TTN_GETDISPINFOW;
  ::SendMessageA(control, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide_tip));
  ASSERT_TRUE(wide_tip.lpszText);
  EXPECT_STREQ(wide_tip.lpszText, L"Start Selection");

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
  Choose(menu, 's', false);  // &Show Text, whose message keeps the band busy
  ASSERT_TRUE(AnswerRestartMessage()) << robot::DescribeDialogs();
  EXPECT_EQ(ButtonText(101), "Start Selection");
  EXPECT_EQ(StoredSetting(reg::kBandTextStyle), 0u);

  menu = OpenMenu();
  ASSERT_TRUE(menu);
  Choose(menu, 'i', false);  // &Icon
  const HWND icons = robot::WaitForWindow("", robot::kWaitMs, "#32768");
  ASSERT_TRUE(icons);
  ::Sleep(100);
  Choose(menu, 'l', false);  // &Large, in the open sub-menu
  ASSERT_TRUE(AnswerRestartMessage()) << robot::DescribeDialogs();
  EXPECT_EQ(StoredSetting(reg::kBandIconSize), 1u);

  menu = OpenMenu();
  ASSERT_TRUE(menu);
  const HMENU again = reinterpret_cast<HMENU>(::SendMessageA(menu, MN_GETHMENU, 0, 0));
  EXPECT_TRUE(::GetMenuState(again, 205, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(::GetMenuState(again, 207, MF_BYCOMMAND) & MF_CHECKED);
  Choose(menu, 'i', false);
  ASSERT_TRUE(robot::WaitForWindow("", robot::kWaitMs, "#32768"));
  ::Sleep(100);
  Choose(menu, 'm', false);  // S&mall
  ASSERT_TRUE(AnswerRestartMessage()) << robot::DescribeDialogs();
  EXPECT_EQ(StoredSetting(reg::kBandIconSize), 0u);
}

}  // namespace
}  // namespace ph::test
