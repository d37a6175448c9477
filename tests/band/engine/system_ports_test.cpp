// The engine over the machine's own ports: the data files beside the module and the hosts of real URLs.
#include <gtest/gtest.h>

#include "band/engine/layout_store.h"
#include "band/engine/page_host.h"
#include "band/engine/selection_store.h"
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
  const std::string selections_path = ModuleFilePath(*files, kSelectionsFileName);
  EXPECT_EQ(layouts_path, folder + kPathSeparator + "layouts.dat");

  LayoutStore layouts;
  LayoutNode page(kLayoutDocument);
  page.AddChild(kLayoutTable)->AddChild(kLayoutRow)->AddChild(kLayoutCell);
  layouts.AddLayout("host.test", page);
  ASSERT_TRUE(layouts.Save(*files, layouts_path));
  SelectionStore selections;
  selections.Append(StoredRegion{RegionKind::kSelected, 1, {{"frame", 0}, {"TD", 2}}});
  ASSERT_TRUE(selections.Save(*files, selections_path));

  LayoutStore layouts_back;
  layouts_back.Load(*files, layouts_path);
  EXPECT_EQ(layouts_back.SaveBytes(), layouts.SaveBytes());
  SelectionStore selections_back;
  selections_back.Load(*files, selections_path);
  EXPECT_EQ(selections_back.SaveBytes(), selections.SaveBytes());

  // Cleared by the controller: the next band starts empty.
  files->RemoveFile(layouts_path);
  layouts_back.Load(*files, layouts_path);
  EXPECT_TRUE(layouts_back.entries().empty());
  EXPECT_EQ(layouts_back.highest_id(), 0);
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
