// The counts of a run over many pages, one count for each outcome a page can have.
#pragma once

#include <array>
#include <cstddef>

namespace ph {

// Outcome is an enum class whose last member is kCount.
template <typename Outcome>
class OutcomeTally {
 public:
  void Add(Outcome outcome) { ++counts_[static_cast<std::size_t>(outcome)]; }
  int operator[](Outcome outcome) const { return counts_[static_cast<std::size_t>(outcome)]; }
  int total() const {
    int sum = 0;
    for (int count : counts_) sum += count;
    return sum;
  }
  OutcomeTally& operator+=(const OutcomeTally& other) {
    for (std::size_t i = 0; i < counts_.size(); ++i) counts_[i] += other.counts_[i];
    return *this;
  }

 private:
  std::array<int, static_cast<std::size_t>(Outcome::kCount)> counts_{};
};

}  // namespace ph
