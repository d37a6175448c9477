// The engine over the machine's own ports: the data files beside the module and the hosts of real URLs.
#include <gtest/gtest.h>

#include "band/engine/engine_stores.h"
#include "band/engine/page_host.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/url.h"
#include "tests/band/engine/engine_fakes.h"
#include "tests/support/test_paths.h"

namespace ph {
namespace {

using test::UrlDocument;

TEST(SystemPorts, HostsKeepTheirCaseAndUrlsWithoutOneGiveTheEmptyHost) {
  auto urls = MakeSystemUrlPort();
  auto cp = MakeSystemCodePage();
  auto host = [&](const char16_t* url) {
    UrlDocument doc(url);
    return HostOfDocument(doc, *urls, *cp);
  };
  EXPECT_EQ(host(u"http://News.Example.com:8080/a/b?c=d#e"), "News.Example.com");
  EXPECT_EQ(host(u"https://user:pw@shop.test/"), "shop.test");
  EXPECT_EQ(host(u"not a url"), "");
  EXPECT_EQ(host(u""), "");
}

TEST(SystemPorts, TheStoresLiveBesideTheModuleAndSurviveARestart) {
  const std::string folder = test::MakeScratchDir("engine-files");
  auto files = MakeSystemFileSystem(folder);
  const std::string layouts_path = ModuleFilePath(*files, kLayoutsFileName);
  EXPECT_EQ(layouts_path, folder + kPathSeparator + "layouts.dat");

  EngineStores stores(*files);
  LayoutNode page(kLayoutDocument);
  page.AddChild(kLayoutTable)->AddChild(kLayoutRow)->AddChild(kLayoutCell);
  ASSERT_EQ(stores.LearnLayout("host.test", page), 1);
  stores.ReplaceRegions(1, {StoredRegion{RegionKind::kSelected, 1, {{"frame", 0}, {"TD", 2}}}});

  EngineStores back(*files);
  back.Load();
  EXPECT_EQ(back.layouts().SaveBytes(), stores.layouts().SaveBytes());
  EXPECT_EQ(back.selections().SaveBytes(), stores.selections().SaveBytes());

  // Cleared by the controller: the next band starts empty.
  files->RemoveFile(layouts_path);
  back.Load();
  EXPECT_TRUE(back.layouts().entries().empty());
  EXPECT_EQ(back.layouts().highest_id(), 0);
  files->RemoveTree(folder);
}

TEST(SystemPorts, WithoutAFolderGivenTheFilesGoBesideTheRunningProgram) {
  auto files = MakeSystemFileSystem();
  const std::string path = ModuleFilePath(*files, kSelectionsFileName);
  EXPECT_EQ(FileNameOfPath(path), "selections.dat");
  EXPECT_TRUE(files->Exists(FolderOfPath(path)));
}

}  // namespace
}  // namespace ph
