// The progress line of a run over many pages, and the counts of its summary.
#pragma once

#include <iosfwd>

#include "common/base.h"

namespace ph::grab {

struct Tally {
  int saved = 0;
  int skipped = 0;
  int failed = 0;
  int done() const { return saved + skipped + failed; }
};

// "saved N, skipped N, failed N"
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
