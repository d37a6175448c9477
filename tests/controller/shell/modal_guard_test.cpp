// Commands entered again from inside their own modal loop, and "Exit" chosen while one runs.
#include "controller/shell/modal_guard.h"

#include <gtest/gtest.h>

namespace ph {
namespace {

TEST(ModalGuard, ACommandIsNotEnteredTwiceButOthersRunInsideIt) {
  ModalGuard guard;
  int about = 0, settings = 0;
  EXPECT_TRUE(guard.RunCommand(1, [&] {
    ++about;
    EXPECT_FALSE(guard.RunCommand(1, [&] { ++about; }));
    EXPECT_TRUE(guard.RunCommand(2, [&] { ++settings; }));
  }));
  EXPECT_TRUE(guard.RunCommand(1, [&] { ++about; }));
  EXPECT_EQ(about, 2);
  EXPECT_EQ(settings, 1);
}

TEST(ModalGuard, ExitWaitsForTheLastModalLoopAndNothingNewStartsMeanwhile) {
  ModalGuard guard;
  std::vector<std::string> order;
  guard.RunModal([&] {
    guard.RunModal([&] {
      EXPECT_FALSE(guard.RequestExit([&] { order.push_back("end"); }));
      EXPECT_FALSE(guard.RunModal([&] { order.push_back("new dialog"); }));
      order.push_back("inner dialog closes");
    });
    order.push_back("outer dialog closes");
  });
  EXPECT_EQ(order, (std::vector<std::string>{"inner dialog closes", "outer dialog closes", "end"}));
  EXPECT_TRUE(ModalGuard().RequestExit([] {}));
}

}  // namespace
}  // namespace ph
