#pragma once

namespace tessaly {

// Whether a read-ahead warms the hints it is given. Where everything is in
// memory already, warming only takes processor time from the walk: after
// kWarmToRest warms in a row that found their file in memory, it rests and
// only a probe is warmed: every kProbeEvery-th hint, and in a directory other
// than the last hint's, every kDirectoryProbeEvery-th of its first
// kDirectoryProbed hints (what was in memory in one directory, such as the
// date directories a run has just filled, says nothing of the next, whose
// first pictures may have been warmed with its listing). A probe that finds
// the device asked ends the rest.
class ReadAheadRest {
 public:
  static constexpr int kWarmToRest = 64;
  static constexpr int kProbeEvery = 128;
  static constexpr int kDirectoryProbeEvery = 16;
  static constexpr int kDirectoryProbed = 64;

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
  int hintsInDirectory_ = 0;  // of the last hint's directory, up to kDirectoryProbed
};

}  // namespace tessaly
