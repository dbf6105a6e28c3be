#include "PassStatistics.h"

#include <algorithm>
#include <cmath>

namespace {

// Buckets grow by 2 % from 10 ns; the last one takes everything above about 1000 s.
constexpr double kFirstBound = 1e-8;
constexpr double kGrowth = 1.02;
constexpr int kBuckets = 1300;

int BucketOf(double seconds) {
  if (!(seconds > kFirstBound)) return 0;
  const int index =
      static_cast<int>(std::ceil(std::log(seconds / kFirstBound) / std::log(kGrowth)));
  return std::min(index, kBuckets - 1);
}

double UpperBound(int bucket) { return kFirstBound * std::pow(kGrowth, bucket); }

}  // namespace

PassStatistics::PassStatistics() : buckets_(kBuckets, 0), count_(0), max_(0) {}

void PassStatistics::Add(double seconds) {
  if (!(seconds >= 0)) seconds = 0;
  ++buckets_[BucketOf(seconds)];
  ++count_;
  max_ = std::max(max_, seconds);
}

double PassStatistics::Percentile(double p) const {
  if (count_ == 0) return 0;
  const double wanted = std::ceil(std::clamp(p, 0.0, 1.0) * static_cast<double>(count_));
  const uint64_t rank = std::max<uint64_t>(1, static_cast<uint64_t>(wanted));
  uint64_t seen = 0;
  for (int i = 0; i < kBuckets; ++i) {
    seen += buckets_[i];
    // Never above the longest pass seen: the bucket bound may lie beyond it.
    if (seen >= rank) return std::min(UpperBound(i), max_);
  }
  return max_;
}
