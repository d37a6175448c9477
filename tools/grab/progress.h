// The progress line of a run over many pages, and the counts of its summary.
#pragma once

#include <iosfwd>

#include "common/base.h"
#include "tools/outcome_tally.h"

namespace ph::grab {

// What became of one page: saved, skipped (nothing to save, or nothing found to save), failed (the
// page or the write failed), or left out because the journal says a run saved it before.
enum class Outcome { kSaved, kSkipped, kFailed, kSavedBefore, kCount };
using Tally = OutcomeTally<Outcome>;

// "saved N, skipped N, failed N", and ", N saved before" when pages were left out for that.
std::string SummaryText(const Tally& tally);

// A bar redrawn in place on a terminal: "[#########.........]  45/100  saved 40  skipped 3  failed 2".
class ProgressBar {
 public:
  ProgressBar(std::ostream& out, int total, bool enabled) : out_(out), total_(total), enabled_(enabled) {}
  void Update(const Tally& tally);
  // Clears the bar so that the summary stands on a clean line.
  void Finish();

 private:
  std::ostream& out_;
  int total_;
  bool enabled_;
  bool drawn_ = false;
};

// The bar's text for a tally, without the carriage return that redraws it.
std::string ProgressText(const Tally& tally, int total, int width);

}  // namespace ph::grab
