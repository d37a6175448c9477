// The engine's Auto Selection on generated pages, on a band that nobody watches.
#include "tools/corpus/auto_selection_trial.h"

#include <algorithm>
#include <map>

#include "common/utf8.h"
#include "tools/corpus/unwatched_band.h"

namespace ph::corpus {
namespace {

std::map<std::string, int> CountWordsOf(const std::string& text) {
  std::map<std::string, int> words;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t start = text.find_first_not_of(" \t\r\n\f", i);
    if (start == std::string::npos) break;
    const std::size_t end = std::min(text.find_first_of(" \t\r\n\f", start), text.size());
    ++words[text.substr(start, end - start)];
    i = end;
  }
  return words;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

WordMatch MatchWords(const std::string& sent, const std::string& story) {
  const auto got = CountWordsOf(sent), want = CountWordsOf(story);
  long overlap = 0, got_total = 0, want_total = 0;
  for (const auto& [word, n] : got) {
    got_total += n;
    const auto it = want.find(word);
    if (it != want.end()) overlap += std::min(n, it->second);
  }
  for (const auto& [word, n] : want) want_total += n;
  WordMatch m;
  if (got_total > 0) m.precision = static_cast<double>(overlap) / static_cast<double>(got_total);
  if (want_total > 0) m.recall = static_cast<double>(overlap) / static_cast<double>(want_total);
  if (m.precision + m.recall > 0) m.f1 = 2 * m.precision * m.recall / (m.precision + m.recall);
  return m;
}

AutoSelectionOutcome RunAutoSelection(const ArticlePage& page, bool article) {
  UnwatchedBand band("auto-selection-trial");
  SelectionEngine& engine = band.engine();
  engine.set_auto_selection_mode(article ? AutoSelectionMode::kArticle : AutoSelectionMode::kCells);
  band.Show(page.html, page.url);
  engine.OnDocumentComplete();
  engine.AutoSelect();
  band.FireTimers();
  AutoSelectionOutcome outcome;
  if (band.sent().empty()) {
    outcome.unable = true;
    return outcome;
  }
  outcome.match = MatchWords(Utf16ToUtf8(band.sent().back()), page.story);
  return outcome;
}

AutoSelectionSummary Summarize(const std::vector<AutoSelectionOutcome>& outcomes) {
  AutoSelectionSummary s;
  std::vector<double> p, r, f;
  for (const auto& o : outcomes) {
    ++s.pages;
    s.unable += o.unable;
    p.push_back(o.match.precision);
    r.push_back(o.match.recall);
    f.push_back(o.match.f1);
    s.mean.precision += o.match.precision;
    s.mean.recall += o.match.recall;
    s.mean.f1 += o.match.f1;
  }
  if (s.pages > 0) {
    s.mean.precision /= s.pages;
    s.mean.recall /= s.pages;
    s.mean.f1 /= s.pages;
  }
  s.median = {Median(p), Median(r), Median(f)};
  return s;
}

}  // namespace ph::corpus
