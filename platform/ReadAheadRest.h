#pragma once

namespace tessaly {

// Whether a read-ahead takes the hints it is given. Where everything is in
// memory already, warming only takes processor time from the walk: after
// kWarmToRest warms in a row that found their file in memory, only every
// kProbeEvery-th hint is taken, until one of those finds the device asked;
// then every hint is taken again.
class ReadAheadRest {
 public:
  static constexpr int kWarmToRest = 64;
  static constexpr int kProbeEvery = 128;

  enum class Found { InMemory, FromDevice };

  // Whether the hint at hand is warmed; each hint is asked about once.
  bool TakesHint();
  // What a warm found, in the order the warms ended.
  void Warmed(Found found);

 private:
  int warmInARow_ = 0;  // found in memory, since the device was last asked
  int hintsWhileResting_ = 0;
};

}  // namespace tessaly
