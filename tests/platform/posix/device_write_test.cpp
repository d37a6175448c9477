// Writing to a device: reported with the system's reason, and the device is never put aside for a file.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/file_system.h"

namespace ph {
namespace {

TEST(DeviceWrite, AFullDeviceIsReportedAndStaysADevice) {
  auto fs = MakeSystemFileSystem();
  const WriteOutcome outcome = ReplaceFileWith(*fs, "/dev/full", "content");
  EXPECT_EQ(outcome.status, WriteOutcome::kNotWritten);
  EXPECT_EQ(outcome.reason, std::strerror(ENOSPC));
  struct stat st = {};
  ASSERT_EQ(::stat("/dev/full", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
}

}  // namespace
}  // namespace ph
