// Local copies of linked files: hostile URL paths never lead outside the companion folder.
#include "controller/outputs/local_copy_path.h"

#include <gtest/gtest.h>

#include "common/ascii.h"

namespace ph {
namespace {

LocalCopyPath Make(std::string_view url_path) { return MakeLocalCopyPath("C:\\out", "page_files", url_path, '\\'); }

TEST(LocalCopyPath, OrdinaryPathsKeepTheirShape) {
  const LocalCopyPath p = Make("/dir/images/a.gif");
  EXPECT_EQ(p.reference, "page_files/dir/images/a.gif");
  EXPECT_EQ(p.path, "C:\\out\\page_files\\dir\\images\\a.gif");
  EXPECT_EQ(MakeLocalCopyPath("/tmp/x", "p_files", "/a/b.css", '/').path, "/tmp/x/p_files/a/b.css");
  EXPECT_EQ(MakeLocalCopyPath("", "p_files", "/b.css", '/').path, "p_files/b.css");
}

TEST(LocalCopyPath, DotAndEmptySegmentsCannotClimbOut) {
  // Decoded paths: %2e%2e and %2f arrive here as ".." and "/".
  for (const char* hostile : {"/../../../windows/win.ini", "/a/./../..//windows/win.ini", "//../windows/win.ini",
                              "/..%5c..%5cwindows/win.ini"}) {
    const LocalCopyPath p = Make(hostile);
    EXPECT_EQ(p.path.rfind("C:\\out\\page_files\\", 0), 0u) << hostile;
    EXPECT_EQ(p.path.find("\\..\\"), std::string::npos) << hostile;
    EXPECT_EQ(p.reference.find("../"), std::string::npos) << hostile;
  }
  EXPECT_EQ(Make("/../../../windows/win.ini").path, "C:\\out\\page_files\\windows\\win.ini");
  EXPECT_EQ(Make("/a/./b//c.gif").reference, "page_files/a/b/c.gif");
}

TEST(LocalCopyPath, BackslashesDrivesAndForbiddenCharactersBecomeUnderscores) {
  EXPECT_EQ(Make("/..\\..\\boot.ini").path, "C:\\out\\page_files\\.._.._boot.ini");
  EXPECT_EQ(Make("/C:/Windows/x.dll").path, "C:\\out\\page_files\\C_\\Windows\\x.dll");
  EXPECT_EQ(Make("/a<b>c\"d|e?f*g\x01.png").path, "C:\\out\\page_files\\a_b_c_d_e_f_g_.png");
  EXPECT_EQ(Make("/name. /dots...").path, "C:\\out\\page_files\\name__\\dots___");
}

TEST(LocalCopyPath, ReservedDeviceNamesAreDefused) {
  EXPECT_EQ(Make("/con").path, "C:\\out\\page_files\\_con");
  EXPECT_EQ(Make("/NUL.gif").path, "C:\\out\\page_files\\_NUL.gif");
  EXPECT_EQ(Make("/x/Com1.tar.gz").path, "C:\\out\\page_files\\x\\_Com1.tar.gz");
  EXPECT_EQ(Make("/lpt9/a").path, "C:\\out\\page_files\\_lpt9\\a");
  EXPECT_EQ(Make("/console.gif").path, "C:\\out\\page_files\\console.gif");
  EXPECT_EQ(Make("/com10").path, "C:\\out\\page_files\\com10");
}

TEST(LocalCopyPath, FolderUrlsGetAFileName) {
  EXPECT_EQ(Make("/").path, "C:\\out\\page_files\\_");
  EXPECT_EQ(Make("").path, "C:\\out\\page_files\\_");
  EXPECT_EQ(Make("/pictures/").path, "C:\\out\\page_files\\pictures\\_");
}

TEST(LocalCopyPath, ReferenceIsEscapedAsAUrlButNamesTheSameFile) {
  const LocalCopyPath p = MakeLocalCopyPath("C:\\out", "my page's_files", "/a b/100%#1.gif", '\\');
  EXPECT_EQ(p.path, "C:\\out\\my page's_files\\a b\\100%#1.gif");
  EXPECT_EQ(p.reference, "my%20page%27s_files/a%20b/100%25%231.gif");
}

TEST(LocalCopyPath, OverlongPathsBecomeAShortHashedNameWithTheExtension) {
  const std::string deep = "/" + std::string(120, 'a') + "/" + std::string(120, 'b') + "/picture.jpeg";
  const LocalCopyPath p = Make(deep);
  EXPECT_LE(p.path.size(), kMaxLocalPath);
  EXPECT_EQ(p.path.rfind("C:\\out\\page_files\\", 0), 0u);
  EXPECT_EQ(p.path.substr(p.path.size() - 5), ".jpeg");
  EXPECT_EQ(p.reference, "page_files/" + p.path.substr(std::string("C:\\out\\page_files\\").size()));
  // Stable, and different for a different path.
  EXPECT_EQ(Make(deep).path, p.path);
  EXPECT_NE(Make(deep + "x").path, p.path);
}

TEST(LocalCopyPath, AFolderTooLongEvenForTheHashedNameGetsNoCopy) {
  const std::string folder = "C:\\" + std::string(240, 'f');
  EXPECT_TRUE(MakeLocalCopyPath(folder, "page_files", "/picture.jpeg", '\\').path.empty());
}

TEST(LocalCopyNames, FilesThatDifferOnlyInCaseGetTwoCopiesWhereCaseIsNotTold) {
  LocalCopyNames windows("C:\\out", "page_files", '\\', true);
  const LocalCopyPath upper = windows.Claim("/img/Logo.png");
  const LocalCopyPath lower = windows.Claim("/img/logo.png");
  EXPECT_NE(LowerAscii(upper.path), LowerAscii(lower.path));
  EXPECT_EQ(windows.Claim("/img/Logo.png").path, upper.path);
  LocalCopyNames posix("/out", "page_files", '/', false);
  EXPECT_EQ(posix.Claim("/img/logo.png").path, "/out/page_files/img/logo.png");
  EXPECT_EQ(posix.Claim("/img/Logo.png").path, "/out/page_files/img/Logo.png");
}

}  // namespace
}  // namespace ph
