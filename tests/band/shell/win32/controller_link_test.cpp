// The band's controller link against the real PageHarvest.exe, running, startable or not.
#include <windows.h>

#include <gtest/gtest.h>

#include <future>

#include "band/shell/controller_link.h"
#include "band/shell/win32/band_windows.h"
#include "common/le_io.h"
#include "common/settings_names.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/win32/unique_handle.h"
#include "tests/controller/shell/win32/controller_program.h"
#include "tools/harness/win32/robot.h"

namespace ph::test {
namespace {

constexpr std::int32_t kTextLayout = 3;

// A page with an address and a title and nothing else.
class TitledPage : public Document {
 public:
  ElementPtr Body() override { return nullptr; }
  std::optional<WideString> Url() override { return u"http://pages.test/linked.html"; }
  std::optional<WideString> Title() override { return u"Linked page"; }
  CollectionPtr ElementsByTagName(WideView) override { return nullptr; }
  std::vector<DocumentPtr> FrameDocuments() override { return {}; }
};

void SetBinary(HKEY key, const char* name, DWORD value) {
  ::RegSetValueExA(key, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

class ControllerLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveProductKey();
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, reg::kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                key_.put(), nullptr),
              ERROR_SUCCESS);
    // Plain file names, no header: the file holds what the band sent.
    SetBinary(key_.get(), reg::kNameAppendType, 0);
    SetBinary(key_.get(), reg::kDatetimeUrl, 0);
    SetBinary(key_.get(), reg::kAppendFiles, 0);
    out_ = program_.folder() + "\\out";
    ASSERT_TRUE(::CreateDirectoryA(out_.c_str(), nullptr));
    ByteWriter actions;
    actions.I32(kTextLayout);
    actions.I32(0);  // text file
    actions.I32(0);  // portion Auto
    actions.String(out_);
    actions.U32(0);
    program_.WriteActions(actions.bytes());
  }
  void TearDown() override {
    program_.Stop();
    StopControllerStartedElsewhere();
    key_.reset();
    RemoveProductKey();
  }

  void SetPath(DWORD type, const std::string& path) {
    ::RegSetValueExA(key_.get(), reg::kControllerPath, 0, type, reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>(path.size() + 1));
  }

  // Sends one Quick Save of the text layout on a thread of its own, as the band's thread would, so
  // that this one can answer what the link shows.
  std::future<void> SendAsync() {
    return std::async(std::launch::async, [] {
      band::BandWindows windows;
      band::ControllerProcess process(windows);
      band::MessageBoxes messages(windows);
      const auto registry = MakeSystemRegistry();
      const auto clock = MakeSystemClock();
      ControllerLink link(process, *registry, *clock, messages);
      OutgoingContent content;
      content.html = u"<p>linked words</p>";
      content.text = u"linked words";
      content.layout_id = kTextLayout;
      content.quick_save = 1;
      link.Send(std::make_shared<TitledPage>(), content);
    });
  }

  // Answers the error boxes in order; the texts that came.
  std::vector<std::string> AnswerErrors(std::future<void>& send, DWORD timeout_ms = robot::kWaitMs) {
    std::vector<std::string> texts;
    while (send.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
      const HWND box = robot::WaitForWindow("Error", 200);
      if (box) {
        texts.push_back(robot::MessageBoxText(box));
        robot::Click(box, IDOK);
        robot::WaitUntilGone(box);
      } else if (timeout_ms <= 200) {
        break;
      } else {
        timeout_ms -= 200;
      }
    }
    return texts;
  }

  std::string SavedText() const { return FileText(out_ + "\\Linked page.txt"); }

  ControllerProgram program_;
  win::UniqueHkey key_;
  std::string out_;
};

TEST_F(ControllerLinkTest, ARunningControllerReceivesTheContentWithoutTheRegistryBeingRead) {
  ASSERT_TRUE(program_.StartResident());
  SetPath(REG_DWORD, "not a path");
  auto send = SendAsync();
  EXPECT_TRUE(AnswerErrors(send).empty());
  send.get();
  EXPECT_TRUE(PollFor([&] { return SavedText().find("linked words") != std::string::npos; })) << SavedText();
}

TEST_F(ControllerLinkTest, AStoppedControllerIsStartedFromItsPathAndThenReceivesTheContent) {
  SetPath(REG_SZ, program_.exe());
  auto send = SendAsync();
  EXPECT_TRUE(AnswerErrors(send, 20000).empty());
  send.get();
  EXPECT_TRUE(robot::FindController(0));
  EXPECT_TRUE(PollFor([&] { return SavedText().find("linked words") != std::string::npos; })) << SavedText();
}

TEST_F(ControllerLinkTest, WithoutAUsablePathTheUserIsToldAndNothingStarts) {
  auto send = SendAsync();  // no value at all
  EXPECT_EQ(AnswerErrors(send), std::vector<std::string>{"Failed to get controller path"});
  send.get();
  SetPath(REG_EXPAND_SZ, program_.exe());
  send = SendAsync();
  EXPECT_EQ(AnswerErrors(send), std::vector<std::string>{"Failed to get controller path"});
  send.get();
  EXPECT_FALSE(robot::FindController(500));
}

TEST_F(ControllerLinkTest, AControllerThatNeverShowsItsWindowIsGivenUpAndTheUserIsTold) {
  char system[MAX_PATH] = {};
  ::GetSystemDirectoryA(system, MAX_PATH);
  SetPath(REG_SZ, std::string(system) + "\\hostname.exe");  // runs, and ends without a window
  const DWORD start = ::GetTickCount();
  auto send = SendAsync();
  EXPECT_EQ(AnswerErrors(send, 20000), std::vector<std::string>{kControllerDidNotStart});
  send.get();
  EXPECT_GE(::GetTickCount() - start, 10000u);
}

}  // namespace
}  // namespace ph::test
