// The ports a writer test runs against: real files, URLs and downloads, fakes for the rest.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "controller/outputs/clipboard.h"
#include "controller/outputs/output_ports.h"
#include "controller/outputs/xml_document.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/fetch.h"
#include "platform/file_system.h"
#include "platform/url.h"
#include "platform/user.h"
#include "tests/support/test_paths.h"

namespace ph::test {

inline LocalTime SampleTime() { return LocalTime{2026, 3, 7, 9, 5, 4, 0}; }

class OutputsTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_ + kPathSeparator + name; }

  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  bool Exists(const std::string& path) { return files_->Exists(path); }

  OutputPorts& ports() { return ports_; }
  // The one message the writer showed, or an empty message.
  Message OnlyMessage() const { return user_.messages().size() == 1 ? user_.messages()[0] : Message{}; }

  std::string dir_ = MakeScratchDir("outputs");
  SettingsRecord settings_;
  std::unique_ptr<FileSystem> files_ = MakeSystemFileSystem();
  std::unique_ptr<UrlPort> urls_ = MakeSystemUrlPort();
  std::unique_ptr<Fetcher> fetcher_ = MakeSystemFetcher(FetchLimits{5000, 1 << 20});
  MemoryClipboard clipboard_;
  std::unique_ptr<XmlPort> xml_ = MakeSystemXmlPort();
  FakeClock clock_{SampleTime()};
  ScriptedUser user_;
  // The code page the program runs with: UTF-8 natively, and under Wine through its manifest.
  std::unique_ptr<CodePage> system_code_page_ = MakeSystemCodePage();
  const CodePage& code_page_ = *system_code_page_;
  std::ostringstream diagnostics_;
  OutputPorts ports_{settings_, *files_, *urls_, *fetcher_, clipboard_, *xml_, clock_, user_, code_page_, diagnostics_};
};

}  // namespace ph::test
