// The progress line and summary of a run over many pages.
#include "tools/grab/progress.h"

#include <ostream>

namespace ph::grab {

std::string SummaryText(const Tally& t) {
  std::string text = "saved " + std::to_string(t[Outcome::kSaved]) + ", skipped " + std::to_string(t[Outcome::kSkipped]) +
                     ", failed " + std::to_string(t[Outcome::kFailed]);
  if (t[Outcome::kSavedBefore] > 0) text += ", " + std::to_string(t[Outcome::kSavedBefore]) + " saved before";
  return text;
}

std::string ProgressText(const Tally& t, int total, int width) {
  const int filled = total > 0 ? static_cast<int>(static_cast<long long>(width) * t.total() / total) : width;
  std::string text = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(width - filled), '.') + "] ";
  text += std::to_string(t.total()) + "/" + std::to_string(total) + "  saved " + std::to_string(t[Outcome::kSaved]) +
          "  skipped " + std::to_string(t[Outcome::kSkipped]) + "  failed " + std::to_string(t[Outcome::kFailed]);
  if (t[Outcome::kSavedBefore] > 0) text += "  saved before " + std::to_string(t[Outcome::kSavedBefore]);
  return text;
}

void ProgressBar::Update(const Tally& tally) {
  if (!enabled_) return;
  out_ << '\r' << ProgressText(tally, total_, 30) << std::flush;
  drawn_ = true;
}

void ProgressBar::Finish() {
  if (!drawn_) return;
  out_ << "\r\033[K" << std::flush;
  drawn_ = false;
}

}  // namespace ph::grab
