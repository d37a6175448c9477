// grab's scratch folder: its own, made for this run, and the only thing removed at the end.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/test_paths.h"
#include "tools/grab/grab_session.h"

namespace ph::grab {
namespace {

namespace fs = std::filesystem;

TEST(ScratchFolder, AFolderSomebodyElseMadeUnderTheExpectedNameIsNeitherUsedNorRemoved) {
  // Another user who guesses the name makes it first.
  const fs::path theirs = fs::temp_directory_path() / ("grab-" + std::to_string(::getpid()));
  fs::create_directories(theirs);
  std::ofstream(theirs / "theirs.txt") << "not grab's";
  const std::string dir = test::MakeScratchDir("scratch");
  std::ofstream(dir + "/page.html") << "<table><tr><td>cell</td></tr></table>";
  Options options;
  options.command = Command::kPaths;
  options.pages = {dir + "/page.html"};
  options.data_dir = dir + "/data";
  std::ostringstream out, err;
  {
    GrabSession session(options, out, err);
    EXPECT_EQ(session.Run(), 0) << err.str();
  }
  EXPECT_TRUE(fs::exists(theirs / "theirs.txt"));
  EXPECT_EQ(std::distance(fs::directory_iterator(theirs), fs::directory_iterator()), 1);
  fs::remove_all(theirs);
}

}  // namespace
}  // namespace ph::grab
