// The command-line switches and the About box's memory figure.
#include <gtest/gtest.h>

#include "controller/shell/command_line.h"
#include "controller/shell/memory_text.h"

namespace ph {
namespace {

TEST(CommandLine, SwitchesAreWholeWordsAndCaseMatters) {
  EXPECT_FALSE(ParseCommandLine("").register_path);
  EXPECT_TRUE(ParseCommandLine("/register").register_path);
  EXPECT_FALSE(ParseCommandLine("/register").no_flash);
  EXPECT_TRUE(ParseCommandLine("  other   /noflash  ").no_flash);
  EXPECT_FALSE(ParseCommandLine("/NOFLASH").no_flash);
  EXPECT_FALSE(ParseCommandLine("/noflashx /registe").no_flash);
  EXPECT_FALSE(ParseCommandLine("/noflashx /registe").register_path);
  const CommandLine both = ParseCommandLine("/noflash /register");
  EXPECT_TRUE(both.no_flash && both.register_path);
}

TEST(MemoryText, GroupsOfThreeFromTheRight) {
  EXPECT_EQ(FormatMemoryKb(0), "0 KB");
  EXPECT_EQ(FormatMemoryKb(2047), "1 KB");
  EXPECT_EQ(FormatMemoryKb(999ull * 1024), "999 KB");
  EXPECT_EQ(FormatMemoryKb(65536ull * 1024), "65,536 KB");
  EXPECT_EQ(FormatMemoryKb(262144ull * 1024), "262,144 KB");
  EXPECT_EQ(FormatMemoryKb(524288ull * 1024), "524,288 KB");
  EXPECT_EQ(FormatMemoryKb(1048576ull * 1024), "1,048,576 KB");
  // Beyond 2^31 kilobytes the figure still counts up instead of turning negative.
  EXPECT_EQ(FormatMemoryKb(4294967296ull * 1024), "4,294,967,296 KB");
}

}  // namespace
}  // namespace ph
