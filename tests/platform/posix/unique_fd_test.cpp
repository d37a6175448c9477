// The descriptor owner: one close, by whoever holds it last.
#include "platform/posix/unique_fd.h"

#include <fcntl.h>

#include <type_traits>

#include <gtest/gtest.h>

namespace ph {
namespace {

static_assert(!std::is_copy_constructible_v<UniqueFd> && !std::is_copy_assignable_v<UniqueFd>,
              "a copy would close the descriptor twice");

bool IsOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

TEST(UniqueFd, AMovedDescriptorIsClosedOnceByItsLastOwner) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[1]);
  {
    UniqueFd first(ends[0]);
    UniqueFd second(std::move(first));
    EXPECT_FALSE(first);
    first = std::move(second);
    EXPECT_TRUE(IsOpen(ends[0]));
  }
  EXPECT_FALSE(IsOpen(ends[0]));
}

}  // namespace
}  // namespace ph
