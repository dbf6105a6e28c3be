// Durations of main-loop passes, kept in a histogram of logarithmic buckets: the memory stays
// fixed however long the run, and percentiles come out within one bucket (2 %).
#pragma once

#include <cstdint>
#include <vector>

class PassStatistics {
 public:
  PassStatistics();

  void Add(double seconds);
  uint64_t Count() const { return count_; }
  double Max() const { return max_; }
  // The smallest bucket bound below which at least the fraction p (0-1] of the passes lie;
  // 0 without passes.
  double Percentile(double p) const;

 private:
  std::vector<uint64_t> buckets_;
  uint64_t count_;
  double max_;
};
