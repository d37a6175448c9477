// Hostile markup through the capture's scanner, each captured reference placed as a local copy: the
// scan copies every byte it does not rewrite, and no copy lands outside the companion folder.
#include <cstdlib>

#include "controller/outputs/local_copy_path.h"
#include "controller/outputs/markup_scanner.h"

namespace {

class CopyEveryReference : public ph::ReferenceRewriter {
 public:
  void Rewrite(ph::ReferenceKind kind, std::string_view value, std::string* out) override {
    if (kind == ph::ReferenceKind::kAbsolute) {
      out->append(value);
      return;
    }
    const ph::LocalCopyPath copy = names_.Claim(value);
    if (copy.path.empty()) return;
    if (copy.path.rfind(kRoot, 0) != 0 || copy.path.size() > ph::kMaxLocalPath) std::abort();
    if (copy.path.find("\\..\\") != std::string::npos || copy.reference.find("../") != std::string::npos) std::abort();
    for (char c : copy.path.substr(sizeof kRoot - 1))
      if (static_cast<unsigned char>(c) < 0x20 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|' || c == '/')
        std::abort();
    out->append(copy.reference);
  }

  static constexpr char kRoot[] = "C:\\out\\page_files\\";

 private:
  ph::LocalCopyNames names_{"C:\\out", "page_files", '\\', true};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string markup(reinterpret_cast<const char*>(data), size);
  CopyEveryReference rewriter;
  std::string out;
  const ph::ScanOutcome outcome = ph::ScanMarkup(markup, rewriter, &out);
  (void)ph::ScanDiagnostic(outcome);
  // Markup without a tag is written unchanged.
  if (markup.find('<') == std::string::npos && out != markup) std::abort();
  return 0;
}
