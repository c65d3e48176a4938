#include "platform/ReadAheadDepth.h"

#include <algorithm>

namespace tessaly {

ReadAheadDepth::ReadAheadDepth(std::size_t least, std::size_t most)
    : least_(std::max<std::size_t>(least, 1)),
      most_(std::max(most, least_)),
      depth_(least_),
      depthBefore_(least_) {}

std::size_t ReadAheadDepth::PeriodWarms() const {
  return std::max<std::size_t>(32, 4 * depth_);
}

void ReadAheadDepth::Warmed(Clock::time_point now, Backlog backlog) {
  if (!started_) {
    started_ = true;
    periodStart_ = now;
    return;
  }
  periodCaughtUp_ += backlog == Backlog::Empty ? 1 : 0;
  if (++periodWarms_ < PeriodWarms()) return;
  double seconds = std::chrono::duration<double>(now - periodStart_).count();
  // A period too short for the clock to see counts as fast as can be.
  double rate = seconds > 0 ? static_cast<double>(periodWarms_) / seconds : 1e12;
  const Pace pace = 2 * periodCaughtUp_ > periodWarms_ ? Pace::Walk : Pace::Device;
  periodStart_ = now;
  periodWarms_ = 0;
  periodCaughtUp_ = 0;
  Decide(rate, pace);
}

void ReadAheadDepth::Decide(double rate, Pace pace) {
  const bool canDeepen = depth_ < most_;
  const bool canHalve = depth_ > least_;
  switch (trial_) {
    case Trial::Deeper:
      if (pace == Pace::Walk) break;
      if (rate >= rateBefore_ * kRewarded && canDeepen) return Try(Trial::Deeper, rate);
      if (rate < rateBefore_ * kRewarded) depth_ = depthBefore_;
      break;
    case Trial::Shallower:
      if (pace == Pace::Device && rate < rateBefore_ * kKept) {
        depth_ = depthBefore_;
        break;
      }
      if (canHalve) return Try(Trial::Shallower, rate);
      break;
    case Trial::None: {
      if (++steadyPeriods_ < kSteadyPeriods) return;
      const bool deeper = pace == Pace::Device && canDeepen && (deeperNext_ || !canHalve);
      if (deeper) return Try(Trial::Deeper, rate);
      if (canHalve) return Try(Trial::Shallower, rate);
      break;
    }
  }
  trial_ = Trial::None;
  steadyPeriods_ = 0;
}

void ReadAheadDepth::Try(Trial trial, double rate) {
  if (trial_ == Trial::None) deeperNext_ = trial != Trial::Deeper;
  trial_ = trial;
  depthBefore_ = depth_;
  rateBefore_ = rate;
  depth_ = trial == Trial::Deeper ? std::min(depth_ * 2, most_) : std::max(depth_ / 2, least_);
}

}  // namespace tessaly
