// Where the tests find the files of the source tree, and scratch folders of their own.
#pragma once

#include <string>

namespace ph::test {

// The repository's root, from PH_SOURCE_DIR that CTest sets (empty when it is not set).
std::string SourceDir();

// A path of the build machine as a Windows program under Wine sees it: its root is drive Z:.
std::string WindowsPathOf(std::string build_path);

// A fresh, empty folder for one test; removed again by the caller's fixture or left for inspection.
std::string MakeScratchDir(const std::string& tag);

}  // namespace ph::test
