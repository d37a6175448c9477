// The capture's tag scanner: one pass that rewrites chosen attribute values and copies the rest.
#pragma once

#include "common/base.h"

namespace ph {

enum class ReferenceKind {
  kCapture,   // img src, link href: the file is copied and the reference points at the copy
  kAbsolute,  // a href: made absolute against the page address
};

class ReferenceRewriter {
 public:
  virtual ~ReferenceRewriter() = default;
  // Appends the new value of a reference to out (the value as it stands when nothing better is found).
  virtual void Rewrite(ReferenceKind kind, std::string_view value, std::string* out) = 0;
};

enum class ScanOutcome {
  kComplete,
  kMissingValue,  // "=" followed by nothing but white space and "=": "error 1"
  kUnendedValue,  // a value whose end is not in the markup: "Error 2"
};

// Appends the markup to out with the references of img/src, link/href and a/href (names in any
// case) rewritten. Malformed markup stops the rewriting, never the copying: out always receives
// the rest of the markup unchanged.
ScanOutcome ScanMarkup(std::string_view markup, ReferenceRewriter& rewriter, std::string* out);

// The diagnostic line of a malformed markup, or empty for a complete scan.
std::string_view ScanDiagnostic(ScanOutcome outcome);

}  // namespace ph
