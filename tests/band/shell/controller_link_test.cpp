// Finding, starting and feeding the controller, with the window, the shell and the clock stood in for.
#include <gtest/gtest.h>

#include "band/shell/controller_link.h"
#include "common/settings_names.h"
#include "platform/clock.h"
#include "platform/memory_registry.h"
#include "tests/band/engine/engine_fakes.h"

namespace ph {
namespace {

// A controller that is running, or appears after a number of probes once launched.
class FakeProcess : public ControllerProcessPort {
 public:
  ControllerWindow FindControllerWindow() override {
    ++finds;
    if (running) return 7;
    if (!launches.empty() && appears_after >= 0 && finds > appears_after) return 7;
    return 0;
  }
  void Launch(const std::string& path) override { launches.push_back(path); }
  void Deliver(ControllerWindow window, const Bytes& record, std::int32_t layout_id, std::int32_t quick_save) override {
    delivered.push_back({window, UnpackHandoffRecord(record.data(), record.size()), layout_id, quick_save});
  }

  struct Delivery {
    ControllerWindow window;
    HandoffFields fields;
    std::int32_t layout_id, quick_save;
  };
  bool running = false;
  int appears_after = -1;  // finds (the first one before the launch included); -1: never
  int finds = 0;
  std::vector<std::string> launches;
  std::vector<Delivery> delivered;
};

struct Link {
  FakeProcess process;
  MemoryRegistry registry;
  FakeClock clock;
  test::RecordingMessages messages;
  ControllerLink link{process, registry, clock, messages};

  void SetPath(RegistryType type, const std::string& path) {
    registry.Create(RegistryRoot::kCurrentUser, reg::kProductKey)
        ->Set(reg::kControllerPath, type, path.c_str(), path.size() + 1);
  }
  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const auto& shown : messages.shown) {
      EXPECT_EQ(shown.owner, MessageOwner::kControlWindow);
      EXPECT_EQ(shown.message.caption, "Error");
      EXPECT_EQ(shown.message.icon, MessageIcon::kError);
      texts.push_back(shown.message.text);
    }
    return texts;
  }
  void Send() {
    OutgoingContent content;
    content.html = u"<b>A</b>";
    content.text = u"A";
    content.layout_id = 4;
    content.quick_save = 1;
    link.Send(std::make_shared<test::UrlDocument>(u"http://a.test/"), content);
  }
};

TEST(ControllerLink, ARunningControllerGetsTheRecordAndItsInformationWithoutLookingAtTheRegistry) {
  Link l;
  l.process.running = true;
  l.SetPath(RegistryType::kDword, "not read");
  l.Send();
  ASSERT_EQ(l.process.delivered.size(), 1u);
  const auto& d = l.process.delivered[0];
  EXPECT_EQ(d.fields, (HandoffFields{u"<b>A</b>", u"A", u"http://a.test/", u"", u""}));
  EXPECT_EQ(d.layout_id, 4);
  EXPECT_EQ(d.quick_save, 1);
  EXPECT_TRUE(l.process.launches.empty());
  EXPECT_TRUE(l.messages.shown.empty());
}

TEST(ControllerLink, AStoppedControllerIsStartedOnceAndFedAtTheFirstProbeThatFindsIt) {
  Link l;
  l.SetPath(RegistryType::kString, "C:\\PH\\PageHarvest.exe");
  l.process.appears_after = 3;  // the look before the launch and two probes miss
  l.Send();
  EXPECT_EQ(l.process.launches, std::vector<std::string>{"C:\\PH\\PageHarvest.exe"});
  EXPECT_EQ(l.clock.TickCount(), 3000u);
  ASSERT_EQ(l.process.delivered.size(), 1u);
  EXPECT_TRUE(l.messages.shown.empty());
}

TEST(ControllerLink, TheControllerPathIsReadFromAKeyThatGrantsOnlyReadingAndWriting) {
  Link l;
  l.SetPath(RegistryType::kString, "C:\\PH\\PageHarvest.exe");
  l.registry.LimitRights(RegistryRoot::kCurrentUser, reg::kProductKey, RegistryAccess::kReadWrite);
  l.process.appears_after = 1;
  l.Send();
  EXPECT_EQ(l.process.launches, std::vector<std::string>{"C:\\PH\\PageHarvest.exe"});
  EXPECT_EQ(l.process.delivered.size(), 1u);
  EXPECT_TRUE(l.messages.shown.empty());
}

TEST(ControllerLink, AControllerThatNeverComesUpIsProbedForTenSecondsAndTheUserIsTold) {
  for (std::uint32_t start : {0u, 0xFFFFFFFFu - 4500u}) {  // the second wraps the tick counter
    Link l;
    l.clock.SetTicks(start);
    l.SetPath(RegistryType::kString, "C:\\PH\\PageHarvest.exe");
    l.Send();
    EXPECT_EQ(l.process.finds, 1 + 11) << start;  // the probe at 10 s is not yet over the limit
    EXPECT_TRUE(l.process.delivered.empty());
    EXPECT_EQ(l.Shown(), std::vector<std::string>{kControllerDidNotStart});
  }
}

TEST(ControllerLink, WithoutAUsablePathNothingIsStartedAndTheUserIsTold) {
  struct Case {
    bool key;
    RegistryType type;
    std::string path;
    std::vector<std::string> shown;
  };
  const std::string too_long(kControllerPathBytes, 'x');
  const Case cases[] = {
      {false, RegistryType::kNone, "", {"Failed to open key", "Failed to get controller path"}},
      {true, RegistryType::kNone, "", {"Failed to get controller path"}},  // key without the value
      {true, RegistryType::kExpandString, "C:\\PH\\PageHarvest.exe", {"Failed to get controller path"}},
      {true, RegistryType::kString, too_long, {"Failed to get controller path"}},
  };
  for (const auto& c : cases) {
    Link l;
    if (c.key) l.registry.Create(RegistryRoot::kCurrentUser, reg::kProductKey);
    if (c.type != RegistryType::kNone) l.SetPath(c.type, c.path);
    l.Send();
    EXPECT_TRUE(l.process.launches.empty());
    EXPECT_TRUE(l.process.delivered.empty());
    EXPECT_EQ(l.Shown(), c.shown);
  }
}

}  // namespace
}  // namespace ph
