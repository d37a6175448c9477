// The clipboard port: what the clipboard writer needs of the system clipboard.
#pragma once

#include <map>
#include <memory>

#include "common/base.h"

namespace ph {

enum class ClipboardFormat {
  // CF_UNICODETEXT, UTF-16LE. Windows makes CF_TEXT of it, in the code page of each program that
  // asks, so no program reads the controller's own code page as if it were its own.
  kUnicodeText,
  kHtml,  // the registered "HTML Format", UTF-8
};

// The zero that ends the data of the format: one byte, or one UTF-16 unit.
inline std::size_t TerminatorBytes(ClipboardFormat format) {
  return format == ClipboardFormat::kUnicodeText ? 2 : 1;
}

// UTF-16 text as the bytes of CF_UNICODETEXT (without the terminator), and back up to the first
// zero unit.
std::string UnicodeTextBytes(WideView text);
WideString UnicodeTextOf(std::string_view bytes);

class ClipboardPort {
 public:
  virtual ~ClipboardPort() = default;
  // Opens the clipboard without an owner window.
  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual bool Empty() = 0;
  // Places the bytes and the format's terminator under the format; the clipboard owns them then.
  virtual bool Set(ClipboardFormat format, std::string_view bytes) = 0;
};

// A clipboard in memory: the native build's clipboard, and a test's, which can make it fail.
class MemoryClipboard : public ClipboardPort {
 public:
  bool Open() override;
  void Close() override { open_ = false; }
  bool Empty() override;
  bool Set(ClipboardFormat format, std::string_view bytes) override;

  // Contents as placed, each with its terminator.
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
