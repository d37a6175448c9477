// The band over pages of the document stand-in: layouts, navigation, and the road to PageHarvest.exe.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/le_io.h"
#include "common/settings_names.h"
#include "platform/win32/unique_handle.h"
#include "tests/band/engine/tree_document.h"
#include "tests/band/shell/win32/attached_band.h"
#include "tests/controller/shell/win32/controller_program.h"
#include "tests/support/win32/mshtml_standin/mshtml_standin.h"
#include "tools/harness/win32/robot.h"

namespace ph::test {
namespace {

constexpr char kSaveTitle[] = "PageHarvest - What would you like to do with the content:";
constexpr int kSaveTextButton = 1002;

// A news page: a table with the news cell (headline and story) and a side cell.
struct NewsPage {
  NewsPage(const char16_t* url, const char16_t* headline_text) : doc(TreeDocument::Make(url)) {
    auto* row = doc->body()->Add("TABLE")->Add("TR");
    auto* news = row->Add("TD");
    headline = news->Add("DIV", headline_text);
    news->Add("DIV", u"The story goes on and on, with many words of its own in it.");
    row->Add("TD", u"Links");
    page = std::make_unique<standin::Page>(doc);
  }
  ElementPtr Headline() { return doc->Wrap(headline); }

  std::shared_ptr<TreeDocument> doc;
  TreeNode* headline;
  std::unique_ptr<standin::Page> page;
};

class BandPageTest : public AttachedBandTest {
 protected:
  void TearDown() override {
    AttachedBandTest::TearDown();
    program_.Stop();
  }

  // The browser shows the page and says it is loaded.
  void Show(NewsPage& shown) {
    host_->Run([&] {
      host_->browser().SetDocument(shown.page->Document().get());
      host_->browser().FireDocumentComplete();
    });
  }
  // A hover and a click with the normal-selection keys (Ctrl), which picks and ends selection mode.
  void PickAndEnd(NewsPage& shown) {
    host_->Run([&] {
      shown.page->FireMouseOver(shown.Headline());
      shown.page->FireMouseUp(shown.Headline(), false, true, false);
    });
  }
  bool FireBeforeNavigate2() {
    bool cancelled = false;
    host_->Run([&] { cancelled = host_->browser().FireBeforeNavigate2(); });
    return cancelled;
  }
  bool FireNewWindow2() {
    bool cancelled = false;
    host_->Run([&] { cancelled = host_->browser().FireNewWindow2(); });
    return cancelled;
  }
  // A plain-file controller with the given layout actions (none: every hand-off asks).
  HWND StartController() {
    win::UniqueHkey key;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, reg::kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr);
    for (const char* name : {reg::kNameAppendType, reg::kDatetimeUrl, reg::kAppendFiles}) {
      const DWORD zero = 0;
      ::RegSetValueExA(key.get(), name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
    }
    return program_.StartResident();
  }

  ControllerProgram program_;
};

TEST_F(BandPageTest, QuickSaveIsOfferedExactlyOnPagesOfAKnownLayout) {
  Attach();
  NewsPage monday(u"http://news.test/monday", u"Monday"), tuesday(u"http://news.test/tuesday", u"Tuesday");
  Show(monday);
  EXPECT_FALSE(ButtonEnabled(102));
  ClickButton(101);
  EXPECT_TRUE(ButtonChecked(101));
  EXPECT_EQ(monday.page->connections(), 1u);
  // No controller runs and none can be started: the user hears why, and the layout is learnt anyway.
  host_->Post([&] { PickAndEnd(monday); });
  for (const char* expected : {"Failed to open key", "Failed to get controller path"}) {
    const HWND box = robot::WaitForWindow("Error");
    ASSERT_TRUE(box) << robot::DescribeDialogs();
    EXPECT_EQ(robot::MessageBoxText(box), expected);
    robot::Click(box, IDOK);
    robot::WaitUntilGone(box);
  }
  WaitForBand();
  EXPECT_FALSE(ButtonChecked(101));
  EXPECT_EQ(monday.page->connections(), 0u);

  Show(tuesday);
  EXPECT_TRUE(ButtonEnabled(102));
  NewsPage other(u"http://elsewhere.test/", u"Other");
  Show(other);
  EXPECT_FALSE(ButtonEnabled(102));
}

TEST_F(BandPageTest, NavigationAndNewWindowsAreRefusedOnlyInSelectionMode) {
  Attach();
  NewsPage monday(u"http://news.test/monday", u"Monday");
  Show(monday);
  EXPECT_FALSE(FireNewWindow2());
  EXPECT_FALSE(FireBeforeNavigate2());
  ClickButton(101);
  ASSERT_TRUE(ButtonChecked(101));
  EXPECT_TRUE(FireNewWindow2());
  EXPECT_TRUE(FireBeforeNavigate2());
  StoreSetting(reg::kSuppressHyperlink, 0);
  Choose(OpenMenu(), 'f');  // Fine Selection reads the settings again and keeps the mode on
  EXPECT_TRUE(ButtonChecked(101));
  EXPECT_EQ(monday.page->connections(), 1u);
  EXPECT_FALSE(FireNewWindow2());
  ClickButton(101);
  EXPECT_EQ(monday.page->connections(), 0u);
}

TEST_F(BandPageTest, AFrameThatNavigatesDuringASelectionLeavesThePageItsHandles) {
  Attach();
  StoreSetting(reg::kSuppressHyperlink, 0);  // the navigation goes ahead
  NewsPage monday(u"http://news.test/monday", u"Monday");
  Show(monday);
  ClickButton(101);
  ASSERT_TRUE(ButtonChecked(101));
  host_->Run([&] { monday.page->FireMouseOver(monday.Headline()); });
  ASSERT_EQ(monday.headline->style.count("background-color"), 1u);
  const auto frame = StandInBrowser::Make();
  bool cancelled = true;
  host_->Run([&] { cancelled = host_->browser().FireBeforeNavigate2(frame.get()); });
  EXPECT_FALSE(cancelled);
  // Ending the selection puts the highlighted block's background back: its handle still works.
  ClickButton(101);
  EXPECT_FALSE(ButtonChecked(101));
  EXPECT_EQ(monday.headline->style.count("background-color"), 0u);
}

TEST_F(BandPageTest, ASelectionReachesTheControllerAndQuickSaveOnTheNextPageSavesWithoutAsking) {
  ASSERT_TRUE(StartController());
  const std::string out = program_.folder() + "\\out";
  ASSERT_TRUE(::CreateDirectoryA(out.c_str(), nullptr));
  Attach();
  NewsPage monday(u"http://news.test/monday", u"Monday headline"), tuesday(u"http://news.test/tuesday", u"Tuesday headline");
  Show(monday);
  ClickButton(101);
  PickAndEnd(monday);

  const HWND dialog = robot::WaitForWindow(kSaveTitle);
  ASSERT_TRUE(dialog) << robot::DescribeDialogs();
  robot::Click(dialog, kSaveTextButton);
  ASSERT_TRUE(robot::AnswerFileChooser(out + "\\monday.txt")) << robot::DescribeDialogs();
  EXPECT_TRUE(PollFor([&] { return FileText(out + "\\monday.txt").find("Monday headline") != std::string::npos; }));
  EXPECT_TRUE(PollFor([&] { return !program_.ReadActions().empty(); }));

  Show(tuesday);
  ASSERT_TRUE(ButtonEnabled(102));
  ClickButton(102);
  // The stored action writes the page's file, named after its title, without a dialog.
  EXPECT_TRUE(PollFor([&] { return FileText(out + "\\Tree.txt").find("Tuesday headline") != std::string::npos; }))
      << robot::DescribeDialogs();
  EXPECT_TRUE(robot::WindowsTitled(kSaveTitle).empty());
}

TEST_F(BandPageTest, AutoSelectionFromTheMenuHandsTheRichestBlockToTheController) {
  ASSERT_TRUE(StartController());
  Attach();
  NewsPage monday(u"http://news.test/monday", u"Monday");
  Show(monday);
  Choose(OpenMenu(), 'a');
  const HWND dialog = robot::WaitForWindow(kSaveTitle);
  ASSERT_TRUE(dialog) << robot::DescribeDialogs();
  EXPECT_NE(robot::ControlText(dialog, 1011).find("many words"), std::string::npos);
  robot::Click(dialog, IDCANCEL);
  robot::WaitUntilGone(dialog);
  EXPECT_TRUE(ButtonEnabled(102));
}

}  // namespace
}  // namespace ph::test
