// The linked-file capture: copies pictures and style sheets beside the HTML file and repoints them.
#include "controller/outputs/linked_file_capture.h"

#include <ostream>

#include "controller/outputs/local_copy_path.h"
#include "controller/outputs/output_ports.h"
#include "platform/fetch.h"
#include "platform/file_system.h"
#include "platform/url.h"

namespace ph {
std::string CompanionName(std::string_view output_path) {
  std::string name = FileNameOfPath(output_path);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  return name + "_files";
}

LinkedFileCapture::LinkedFileCapture(OutputPorts& ports, std::string base_url, std::string_view output_path)
    : ports_(ports), base_url_(std::move(base_url)), companion_(CompanionName(output_path)) {
  const std::size_t cut = output_path.rfind(kPathSeparator);
  if (cut != std::string_view::npos) folder_ = std::string(output_path.substr(0, cut));
  const std::string companion_folder = folder_.empty() ? companion_ : folder_ + kPathSeparator + companion_;
  if (ports_.files.Exists(companion_folder)) ports_.files.RemoveTree(companion_folder);
  // Windows does not tell case in file names: /Logo.png and /logo.png need two files there.
  names_.emplace(folder_, companion_, kPathSeparator, kPathSeparator == '\\');
}

int LinkedFileCapture::Write(std::string_view markup, std::ostream& out) {
  buffer_.clear();
  buffer_.reserve(markup.size() + markup.size() / 8);
  const ScanOutcome outcome = ScanMarkup(markup, *this, &buffer_);
  DownloadQueued();
  if (outcome != ScanOutcome::kComplete) ports_.diagnostics << ScanDiagnostic(outcome) << '\n' << std::flush;
  out.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  return 1;
}

void LinkedFileCapture::Rewrite(ReferenceKind kind, std::string_view value, std::string* out) {
  std::string absolute;
  if (!ports_.urls.Combine(base_url_, value, &absolute)) {
    out->append(value);
  } else if (kind == ReferenceKind::kAbsolute) {
    out->append(absolute);
  } else {
    Capture(absolute, out);
    if (out->empty()) out->append(value);
  }
}

void LinkedFileCapture::Capture(const std::string& absolute, std::string* out) {
  std::string url_path;
  // Only what a download can fetch, or a local page's own files, is copied; data:, javascript: and
  // the like stay as they are.
  if (!MayBringIn(base_url_, absolute) || !ports_.urls.DecodedPath(absolute, &url_path)) return;
  const LocalCopyPath copy = names_->Claim(url_path);
  if (copy.path.empty()) {
    met_.emplace_back(absolute, std::nullopt);
    return;
  }
  out->append(copy.reference);
  // A picture used many times on a page is fetched once.
  if (!fetched_.insert(copy.path).second) return;
  if (!ports_.files.MakeFolders(copy.path)) {
    met_.emplace_back(absolute, std::nullopt);
    return;
  }
  met_.emplace_back(absolute, downloads_.size());
  downloads_.push_back(FetchRequest{absolute, copy.path});
}

void LinkedFileCapture::DownloadQueued() {
  const std::vector<FetchResult> results = ports_.fetcher.FetchAll(downloads_);
  for (const auto& [absolute, download] : met_)
    if (!download || !results[*download].ok) failed_.push_back(absolute);
  met_.clear();
  downloads_.clear();
}

}  // namespace ph
