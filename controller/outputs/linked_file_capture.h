// The linked-file capture: copies pictures and style sheets beside the HTML file and repoints them.
#pragma once

#include <iosfwd>
#include <optional>
#include <set>
#include <vector>

#include "common/base.h"
#include "platform/fetch.h"
#include "controller/outputs/local_copy_path.h"
#include "controller/outputs/markup_scanner.h"

namespace ph {

struct OutputPorts;

// The companion folder's name for an output file: its name without the extension, and "_files".
std::string CompanionName(std::string_view output_path);

class LinkedFileCapture : private ReferenceRewriter {
 public:
  // Prepares the capture for one HTML file: removes a companion folder left by an earlier file of
  // that name, with everything in it.
  LinkedFileCapture(OutputPorts& ports, std::string base_url, std::string_view output_path);

  // Writes the whole markup to out with rewritten references, and copies the files they name (side
  // by side where the fetcher can); nonzero. Malformed markup is reported on the diagnostics stream
  // and the rest of it is written unchanged.
  int Write(std::string_view markup, std::ostream& out);

  // The addresses of the pictures and style sheets that could not be copied (each once, in the order
  // met); the markup keeps referring to where their copies would be.
  const std::vector<std::string>& failed() const { return failed_; }

 private:
  void Rewrite(ReferenceKind kind, std::string_view value, std::string* out) override;
  void Capture(const std::string& absolute, std::string* out);
  void DownloadQueued();

  OutputPorts& ports_;
  std::string base_url_;
  std::string folder_;
  std::string companion_;
  std::optional<LocalCopyNames> names_;
  std::set<std::string> fetched_;  // local copies already made for this file
  std::vector<std::string> failed_;
  // The files met in one Write, in order: the address, and its download (none when it failed
  // before one could start).
  std::vector<std::pair<std::string, std::optional<std::size_t>>> met_;
  std::vector<FetchRequest> downloads_;
  std::string buffer_;
};

}  // namespace ph
