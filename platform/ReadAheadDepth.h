#pragma once

#include <chrono>
#include <cstddef>

namespace tessaly {

// How many warms a read-ahead keeps in flight, found while it runs. A device
// that answers many requests at once warms more headers a second when asked
// more at once; one that answers one at a time does not, and is then asked
// as little as it can be.
//
// The depth starts at the least. Time is cut into periods of warms that the
// device answered. A period is paced by the walk when most of its warms
// ended with no hint waiting (the read-ahead is ahead of the walk, and its
// rate is the walk's), else by the device, and its rate (warms a second)
// decides. After a few periods at one depth, the depth is doubled (or,
// every other time, halved) to try; while the walk sets the pace only
// halving is tried. A doubling stays when the rate rose clearly, and
// doubles again, or when it brought the read-ahead ahead of the walk; else
// the depth goes back. A halving stays when the rate did not fall or the
// walk still sets the pace, and halves again; else the depth goes back. The
// depth never leaves [least, most].
class ReadAheadDepth {
 public:
  using Clock = std::chrono::steady_clock;

  // A doubling stays when it raised the rate by this share at least.
  static constexpr double kRewarded = 1.15;
  // A halving stays when it kept this share of the rate at least.
  static constexpr double kKept = 0.95;
  // Periods at one depth before the next try.
  static constexpr int kSteadyPeriods = 4;

  // Whether hints waited when a warm ended.
  enum class Backlog { Waiting, Empty };

  ReadAheadDepth(std::size_t least, std::size_t most);

  std::size_t Depth() const { return depth_; }

  // Counts a warm that the device answered (not one found in memory), ended
  // at `now` with `backlog` behind it. The first one only starts the clock.
  void Warmed(Clock::time_point now, Backlog backlog);

 private:
  enum class Trial { None, Deeper, Shallower };
  enum class Pace { Device, Walk };

  // The warms a period counts at the present depth.
  std::size_t PeriodWarms() const;
  void Decide(double rate, Pace pace);
  void Try(Trial trial, double rate);

  std::size_t least_, most_;
  std::size_t depth_;
  std::size_t depthBefore_;  // the depth a trial left
  double rateBefore_ = 0;    // the rate at that depth
  Trial trial_ = Trial::None;
  bool deeperNext_ = true;                  // which way the next trial goes
  int steadyPeriods_ = kSteadyPeriods - 1;  // the first trial after one period
  bool started_ = false;
  Clock::time_point periodStart_{};
  std::size_t periodWarms_ = 0;
  std::size_t periodCaughtUp_ = 0;  // warms of the period that left no hint waiting
};

}  // namespace tessaly
