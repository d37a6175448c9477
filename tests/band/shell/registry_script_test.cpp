// The band's two registration scripts run by our interpreter on the in-memory registry.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "band/shell/registry_script.h"
#include "platform/memory_registry.h"
#include "tests/support/test_paths.h"

namespace ph {
namespace {

constexpr char kClsid[] = "{5D5B2CA5-43EF-4731-93F8-A2D5EEB9D10A}";
constexpr char kAppId[] = "{9C9D980D-421A-4F15-A5E0-788DF7338EB7}";
constexpr char kToolbarKey[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";
const std::map<std::string, std::string> kVariables = {{"APPID", kAppId}, {"MODULE", "C:\\band\\GrabPlugin.dll"}};

RegistryScript LoadScript(const char* file) {
  std::ifstream in(test::SourceDir() + "/resources/" + file, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string error;
  auto script = ParseRegistryScript(text, kVariables, &error);
  EXPECT_TRUE(script) << file << ": " << error;
  return script.value_or(RegistryScript{});
}

std::string Text(MemoryRegistry& reg, RegistryRoot root, const std::string& key, const char* name = "") {
  RegistryValue value;
  if (!reg.GetValue(root, key, name, &value) || value.type != RegistryType::kString) return "<none>";
  return std::string(value.data.begin(), value.data.end()).c_str();
}

TEST(RegistryScript, TheBandRegistersItsKeysAndUnregistrationKeepsOnlyTheSharedOnes) {
  MemoryRegistry reg;
  const auto hkcr = RegistryRoot::kClassesRoot;
  const auto hklm = RegistryRoot::kLocalMachine;
  const RegistryScript app_id = LoadScript("grab_plugin_appid.rgs");
  const RegistryScript band = LoadScript("grab_plugin_band.rgs");
  // A leftover of an older registration under the class key goes with the forced removal.
  reg.Create(hkcr, std::string("CLSID\\") + kClsid + "\\Stale");
  ASSERT_TRUE(RegisterScript(reg, app_id));
  ASSERT_TRUE(RegisterScript(reg, band));

  const std::string clsid = std::string("CLSID\\") + kClsid;
  EXPECT_EQ(Text(reg, hkcr, std::string("AppID\\") + kAppId), "GrabPlugin");
  EXPECT_EQ(Text(reg, hkcr, "AppID\\GrabPlugin.DLL", "AppID"), kAppId);
  EXPECT_EQ(Text(reg, hkcr, "GrabPlugin.GrabPluginBand.1"), "GrabPluginBand Class");
  EXPECT_EQ(Text(reg, hkcr, "GrabPlugin.GrabPluginBand.1\\CLSID"), kClsid);
  EXPECT_EQ(Text(reg, hkcr, "GrabPlugin.GrabPluginBand\\CLSID"), kClsid);
  EXPECT_EQ(Text(reg, hkcr, "GrabPlugin.GrabPluginBand\\CurVer"), "GrabPlugin.GrabPluginBand.1");
  EXPECT_EQ(Text(reg, hkcr, clsid), "PageHarvest Plugin");
  EXPECT_EQ(Text(reg, hkcr, clsid, "AppID"), kAppId);
  EXPECT_EQ(Text(reg, hkcr, clsid + "\\ProgID"), "GrabPlugin.GrabPluginBand.1");
  EXPECT_EQ(Text(reg, hkcr, clsid + "\\VersionIndependentProgID"), "GrabPlugin.GrabPluginBand");
  EXPECT_TRUE(reg.KeyExists(hkcr, clsid + "\\Programmable"));
  EXPECT_EQ(Text(reg, hkcr, clsid + "\\InprocServer32"), "C:\\band\\GrabPlugin.dll");
  EXPECT_EQ(Text(reg, hkcr, clsid + "\\InprocServer32", "ThreadingModel"), "Apartment");
  EXPECT_EQ(Text(reg, hkcr, clsid + "\\TypeLib"), "{EBF07B12-2363-41C0-A123-E9A7AA93248A}");
  EXPECT_FALSE(reg.KeyExists(hkcr, clsid + "\\Stale"));
  EXPECT_EQ(Text(reg, hklm, kToolbarKey, kClsid), "Grab Plugin");

  reg.Create(hklm, kToolbarKey)->Set("{other band}", RegistryType::kString, "x", 2);
  ASSERT_TRUE(UnregisterScript(reg, band));
  ASSERT_TRUE(UnregisterScript(reg, app_id));
  EXPECT_TRUE(reg.KeyExists(hkcr, "AppID"));
  EXPECT_TRUE(reg.KeyExists(hkcr, "CLSID"));
  EXPECT_TRUE(reg.KeyExists(hklm, kToolbarKey));
  EXPECT_EQ(Text(reg, hklm, kToolbarKey, kClsid), "<none>");
  EXPECT_EQ(Text(reg, hklm, kToolbarKey, "{other band}"), "x");
  EXPECT_FALSE(reg.KeyExists(hkcr, clsid));
  EXPECT_FALSE(reg.KeyExists(hkcr, "GrabPlugin.GrabPluginBand"));
  EXPECT_FALSE(reg.KeyExists(hkcr, "GrabPlugin.GrabPluginBand.1"));
  EXPECT_FALSE(reg.KeyExists(hkcr, std::string("AppID\\") + kAppId));
  EXPECT_FALSE(reg.KeyExists(hkcr, "AppID\\GrabPlugin.DLL"));
}

TEST(RegistryScript, NumbersBytesAndQuotesInsideQuotedText) {
  MemoryRegistry reg;
  std::string error;
  const auto script = ParseRegistryScript(
      "HKCU { Test = s 'it''s 100%%' { val Count = d '0x10' val Raw = b '0aFF' } }", {}, &error);
  ASSERT_TRUE(script) << error;
  ASSERT_TRUE(RegisterScript(reg, *script));
  EXPECT_EQ(Text(reg, RegistryRoot::kCurrentUser, "Test"), "it's 100%");
  RegistryValue value;
  ASSERT_TRUE(reg.GetValue(RegistryRoot::kCurrentUser, "Test", "Count", &value));
  EXPECT_EQ(value.type, RegistryType::kDword);
  EXPECT_EQ(value.data, (Bytes{0x10, 0, 0, 0}));
  ASSERT_TRUE(reg.GetValue(RegistryRoot::kCurrentUser, "Test", "Raw", &value));
  EXPECT_EQ(value.data, (Bytes{0x0a, 0xff}));
}

TEST(RegistryScript, ScriptsThatCannotBeReadAreRefusedWhole) {
  std::string error;
  for (const char* text : {"HKCR { Key = s 'open }", "HKCR { Key = s '%NOBODY%' }", "HKCR { Key", "Nowhere { }",
                           "HKCR { Key = q 'x' }"}) {
    error.clear();
    EXPECT_FALSE(ParseRegistryScript(text, kVariables, &error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

}  // namespace
}  // namespace ph
