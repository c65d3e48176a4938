#pragma once

namespace tessaly {

// Whether a read-ahead warms the hints it is given. Where everything is in
// memory already, warming only takes processor time from the walk: after
// kWarmToRest warms in a row that found their file in memory, it rests and
// only a probe is warmed: every kProbeEvery-th hint, and the first hint of
// a directory other than the last one's (what was in memory in one
// directory, such as the date directories a run has just filled, says
// nothing of the next). A probe that finds the device asked ends the rest.
class ReadAheadRest {
 public:
  static constexpr int kWarmToRest = 64;
  static constexpr int kProbeEvery = 128;

  enum class Found { InMemory, FromDevice };
  enum class Place { SameDirectory, NewDirectory };

  bool Resting() const { return warmInARow_ >= kWarmToRest; }
  // Whether the hint at hand, in the place it is, is warmed now; each hint
  // is asked about once.
  bool TakesHint(Place place);
  // What a warm found, in the order the warms ended.
  void Warmed(Found found);

 private:
  int warmInARow_ = 0;  // found in memory, since the device was last asked
  int hintsWhileResting_ = 0;
};

}  // namespace tessaly
