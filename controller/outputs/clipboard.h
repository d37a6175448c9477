// The clipboard port: what the clipboard writer needs of the system clipboard.
#pragma once

#include <map>
#include <memory>

#include "common/base.h"

namespace ph {

enum class ClipboardFormat {
  kText,  // CF_TEXT, ANSI
  kHtml,  // the registered "HTML Format"
};

class ClipboardPort {
 public:
  virtual ~ClipboardPort() = default;
  // Opens the clipboard without an owner window.
  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual bool Empty() = 0;
  // Places the bytes and one zero byte after them under the format; the clipboard owns them then.
  virtual bool Set(ClipboardFormat format, std::string_view bytes) = 0;
};

// A clipboard in memory: the native build's clipboard, and a test's, which can make it fail.
class MemoryClipboard : public ClipboardPort {
 public:
  bool Open() override;
  void Close() override { open_ = false; }
  bool Empty() override;
  bool Set(ClipboardFormat format, std::string_view bytes) override;

  // Contents as placed, each with its zero byte.
  const std::map<ClipboardFormat, std::string>& contents() const { return contents_; }
  bool is_open() const { return open_; }

  // The next count opens fail; setting the format fails while set.
  void FailOpens(int count) { failing_opens_ = count; }
  void FailSetting(ClipboardFormat format) { failing_formats_.push_back(format); }

 private:
  bool open_ = false;
  int failing_opens_ = 0;
  std::vector<ClipboardFormat> failing_formats_;
  std::map<ClipboardFormat, std::string> contents_;
};

// The system clipboard on Windows; a process-wide MemoryClipboard natively.
std::unique_ptr<ClipboardPort> MakeSystemClipboard();

}  // namespace ph
