// regsvr32 on the band library, read back from the registry: what registration writes and what stays.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/band/shell/win32/band_library.h"

namespace ph::test {
namespace {

constexpr char kToolbarKey[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";
constexpr char kTypeLibKey[] = "TypeLib\\{EBF07B12-2363-41C0-A123-E9A7AA93248A}";

TEST(BandRegistration, Regsvr32WritesTheClassAndUnregistrationLeavesOnlyTheSharedKeys) {
  BandLibrary library;
  const std::string clsid = std::string("CLSID\\") + kBandClsid;
  ASSERT_EQ(library.Regsvr32(), 0);
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, clsid), "PageHarvest Plugin");
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, clsid + "\\InprocServer32"), library.path());
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, clsid + "\\InprocServer32", "ThreadingModel"), "Apartment");
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, "GrabPlugin.GrabPluginBand\\CurVer"), "GrabPlugin.GrabPluginBand.1");
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, "AppID\\GrabPlugin.DLL", "AppID"), "{9C9D980D-421A-4F15-A5E0-788DF7338EB7}");
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kToolbarKey, kBandClsid), "Grab Plugin");
  EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, std::string(kTypeLibKey) + "\\1.0"), "GrabPlugin 1.0 Type Library");

  ASSERT_EQ(library.Regsvr32(true), 0);
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, "CLSID"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, "AppID"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kToolbarKey));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kToolbarKey, kBandClsid), "<none>");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, clsid));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "GrabPlugin.GrabPluginBand"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "GrabPlugin.GrabPluginBand.1"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "AppID\\GrabPlugin.DLL"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, std::string(kTypeLibKey) + "\\1.0"));
}

}  // namespace
}  // namespace ph::test
