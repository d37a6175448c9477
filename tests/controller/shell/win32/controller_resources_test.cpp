// The resources built into PageHarvest.exe: icon, tray menu, title, artwork sizes, XSL sheet, version.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "resources/resource.h"
#include "tests/controller/shell/win32/controller_program.h"
#include "tests/support/test_paths.h"

namespace ph::test {
namespace {

class ControllerResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_.reset(::LoadLibraryExA(program_.exe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module_);
  }

  HMODULE module() const { return module_.get(); }
  // A module loaded as a data file is marked in the low bits of its handle.
  const void* module_ptr() const {
    return reinterpret_cast<const void*>(reinterpret_cast<ULONG_PTR>(module_.get()) & ~ULONG_PTR{3});
  }

  ControllerProgram program_;
  win::UniqueHmodule module_;
};

TEST_F(ControllerResourcesTest, TrayMenuHoldsItsFourItemsInOrder) {
  const win::UniqueHmenu owned_menu(::LoadMenuA(module(), MAKEINTRESOURCEA(IDR_TRAY_MENU)));
  ASSERT_TRUE(owned_menu);
  const HMENU menu = owned_menu.get();
  char text[64] = {};
  ::GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&File");
  const HMENU popup = ::GetSubMenu(menu, 0);
  ASSERT_EQ(::GetMenuItemCount(popup), 4);
  const struct {
    UINT id;
    const char* text;
  } items[] = {{133, "&Configuration..."}, {57664, "&About"}, {0, ""}, {57665, "E&xit"}};
  for (int i = 0; i < 4; ++i) {
    text[0] = 0;
    ::GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, items[i].text);
    EXPECT_EQ(::GetMenuItemID(popup, i), items[i].id);
  }
}

TEST_F(ControllerResourcesTest, TitleIconSheetAndArtworkAreThere) {
  char title[64] = {};
  ::LoadStringA(module(), IDS_APP_TITLE, title, sizeof title);
  EXPECT_STREQ(title, "GrabController");
  EXPECT_NE(::FindResourceA(module(), MAKEINTRESOURCEA(IDR_MAINFRAME), MAKEINTRESOURCEA(14)), nullptr);  // RT_GROUP_ICON
  EXPECT_NE(::FindResourceA(module(), MAKEINTRESOURCEA(140), "XSL"), nullptr);
  for (int id : {IDD_SAVE, IDD_ABOUTBOX, IDD_SPLASH, IDD_SETTINGS, IDD_GENERAL, IDD_DATABASE, IDD_ODBC, IDD_ACCESS})
    EXPECT_NE(::FindResourceA(module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)), nullptr) << id;  // RT_DIALOG

  const struct {
    int id;
    LONG width, height;
  } bitmaps[] = {{IDB_BANNER, 400, 70}, {IDB_BACKGROUND, 420, 220}};
  for (const auto& b : bitmaps) {
    const win::UniqueHbitmap bitmap(static_cast<HBITMAP>(
        ::LoadImageA(module(), MAKEINTRESOURCEA(b.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ASSERT_TRUE(bitmap) << b.id;
    BITMAP info = {};
    ::GetObjectA(bitmap.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, b.width);
    EXPECT_EQ(info.bmHeight, b.height);
    EXPECT_EQ(info.bmBitsPixel, 24);
  }
}

TEST_F(ControllerResourcesTest, StyleSheetResourceHoldsTheSheetFileByteForByte) {
  const HRSRC found = ::FindResourceA(module(), MAKEINTRESOURCEA(140), "XSL");
  ASSERT_NE(found, nullptr);
  const HGLOBAL loaded = ::LoadResource(module(), found);
  const std::string resource(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(module(), found));
  std::ifstream in(SourceDir() + "/resources/identity.xsl", std::ios::binary);
  ASSERT_TRUE(in) << SourceDir();
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(resource, file);
}

TEST_F(ControllerResourcesTest, ProgramIsAGuiProgramWithoutConsole) {
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module_ptr());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(dos) + dos->e_lfanew);
  EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST_F(ControllerResourcesTest, VersionIsTwoPointThirtySeven) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(program_.exe().c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(::GetFileVersionInfoA(program_.exe().c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(37, 2));
}

}  // namespace
}  // namespace ph::test
