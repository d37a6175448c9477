// PageHarvestHost.exe between a browser played by the test and the real PageHarvest.exe: the save
// dialog, a stored action, and a host that finds no controller.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/settings_names.h"
#include "platform/win32/unique_handle.h"
#include "tests/band/engine/tree_document.h"
#include "tests/band/host/page_helper_double.h"
#include "tests/band/host/program/win32/host_process.h"
#include "tests/controller/shell/win32/controller_program.h"
#include "tests/support/test_paths.h"
#include "tools/harness/win32/robot.h"

namespace ph::test {
namespace {

using live::Json;

constexpr char kExtension[] = "chrome-extension://alkfoobnckhimlcamnljecggfgppgdog/";
constexpr char kSaveTitle[] = "PageHarvest - What would you like to do with the content:";
constexpr int kSaveTextButton = 1002;

// A news page: a table with the news cell (headline and story) and a side cell.
struct NewsPage {
  NewsPage(const char16_t* url, const char16_t* headline_text) : doc(TreeDocument::Make(url)), helper(doc) {
    auto* row = doc->body()->Add("TABLE")->Add("TR");
    auto* news = row->Add("TD");
    headline = doc->Wrap(news->Add("DIV", headline_text));
    news->Add("DIV", u"The story goes on and on, with many words of its own in it.");
    row->Add("TD", u"Links");
  }
  // A mouse report of the page helper over an element of the top document.
  Json Mouse(const char* type, const ElementPtr& element, bool ctrl) {
    return {{"type", "report"}, {"frame", 0},
            {"payload", {{"type", type}, {"target", helper.Pair(0, element)}, {"button", 0}, {"shift", false},
                         {"ctrl", ctrl}, {"alt", false}}}};
  }

  std::shared_ptr<TreeDocument> doc;
  PageHelperDouble helper;
  ElementPtr headline;
};

class HostControllerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::GetDesktopWindow(); }

  void SetUp() override {
    RemoveProductKey();
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, reg::kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                key_.put(), nullptr),
              ERROR_SUCCESS);
    // Plain file names, no header: the file holds what the page gave.
    for (const char* name : {reg::kNameAppendType, reg::kDatetimeUrl, reg::kAppendFiles}) {
      const DWORD zero = 0;
      ::RegSetValueExA(key_.get(), name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
    }
    // Installed beside the controller, as setup puts it, so that both share the data files.
    host_exe_ = program_.folder() + "\\PageHarvestHost.exe";
    ASSERT_TRUE(::CopyFileA(WindowsPathOf(PH_HOST_EXE).c_str(), host_exe_.c_str(), FALSE));
    out_ = program_.folder() + "\\out";
    ASSERT_TRUE(::CreateDirectoryA(out_.c_str(), nullptr));
  }
  void TearDown() override {
    program_.Stop();
    StopControllerStartedElsewhere();
    key_.reset();
    RemoveProductKey();
  }

  // One connection, played as the extension plays it: the open message and what the user then does
  // go first; the host's page calls are answered from the page. Everything else the host said, in
  // order, once it has ended.
  std::vector<Json> Connect(NewsPage& page, const char* command, const std::vector<Json>& user = {}) {
    HostProcess host;
    EXPECT_TRUE(host.Start(host_exe_, std::string(kExtension) + " --parent-window=0"));
    host.Send(Json{{"type", "open"}, {"tab", 4}, {"url", "http://news.test/"}, {"command", command}}.dump());
    for (const Json& message : user) host.Send(message.dump());
    std::vector<Json> told;
    // The host may wait up to ten seconds for a controller it started.
    while (const auto text = host.Receive(30000)) {
      const Json message = Json::parse(*text);
      if (message.value("type", "") == "call") {
        host.Send(page.helper.Answer(message).dump());
      } else {
        told.push_back(message);
      }
    }
    EXPECT_EQ(host.WaitForExit(), 0) << host.Errors();
    return told;
  }

  ControllerProgram program_;
  win::UniqueHkey key_;
  std::string host_exe_;
  std::string out_;
};

TEST_F(HostControllerTest, TheSaveDialogTakesTheFirstSelectionAndTheStoredActionTheNextPage) {
  // Not running: the host starts the controller from its path, as the band does.
  ::RegSetValueExA(key_.get(), reg::kControllerPath, 0, REG_SZ, reinterpret_cast<const BYTE*>(program_.exe().c_str()),
                   static_cast<DWORD>(program_.exe().size() + 1));
  NewsPage monday(u"http://news.test/monday", u"Monday headline");
  const std::vector<Json> told =
      Connect(monday, "start", {monday.Mouse("hover", monday.headline, false), monday.Mouse("click", monday.headline, true)});
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.back().value("outcome", ""), "saved") << told.back().dump();
  EXPECT_NE(told.back().value("layout", 0), 0);

  const HWND dialog = robot::WaitForWindow(kSaveTitle);
  ASSERT_TRUE(dialog) << robot::DescribeDialogs();
  robot::Click(dialog, kSaveTextButton);
  ASSERT_TRUE(robot::AnswerFileChooser(out_ + "\\monday.txt")) << robot::DescribeDialogs();
  EXPECT_TRUE(PollFor([&] { return FileText(out_ + "\\monday.txt").find("Monday headline") != std::string::npos; }));
  EXPECT_TRUE(PollFor([&] { return !program_.ReadActions().empty(); }));
  // What the host learnt is kept beside it, where the band finds it too.
  EXPECT_FALSE(FileText(program_.folder() + "\\layouts.dat").empty());

  // The next page of the layout goes by the stored action, named after its title, without a dialog.
  NewsPage tuesday(u"http://news.test/tuesday", u"Tuesday headline");
  const std::vector<Json> quick = Connect(tuesday, "quick");
  ASSERT_FALSE(quick.empty());
  EXPECT_EQ(quick.back().value("outcome", ""), "saved") << quick.back().dump();
  EXPECT_TRUE(PollFor([&] { return FileText(out_ + "\\Tree.txt").find("Tuesday headline") != std::string::npos; }))
      << robot::DescribeDialogs();
  EXPECT_TRUE(robot::WindowsTitled(kSaveTitle).empty());
}

// Nobody sees the host's windows: what the band would show in a box goes to the page, and the
// selection is reported lost, not saved.
TEST_F(HostControllerTest, WithoutAControllerThePageIsToldWhyAndTheSelectionFailed) {
  NewsPage monday(u"http://news.test/monday", u"Monday headline");
  const std::vector<Json> told = Connect(monday, "auto");
  ASSERT_GE(told.size(), 2u);
  EXPECT_EQ(told[told.size() - 2].value("type", ""), "message");
  EXPECT_EQ(told[told.size() - 2].value("text", ""), "Failed to get controller path");
  EXPECT_EQ(told.back().value("outcome", ""), "failed") << told.back().dump();
  EXPECT_TRUE(robot::WindowsTitled("Error").empty());
  EXPECT_FALSE(robot::FindController(0));
}

}  // namespace
}  // namespace ph::test
