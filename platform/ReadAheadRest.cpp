#include "platform/ReadAheadRest.h"

namespace tessaly {

bool ReadAheadRest::TakesHint(Place place) {
  if (place == Place::NewDirectory) hintsInDirectory_ = 0;
  if (hintsInDirectory_ < kDirectoryProbed) ++hintsInDirectory_;
  if (!Resting()) return true;
  const bool counted = ++hintsWhileResting_ % kProbeEvery == 0;
  const bool sampled =
      hintsInDirectory_ < kDirectoryProbed && hintsInDirectory_ % kDirectoryProbeEvery == 1;
  return counted || sampled;
}

void ReadAheadRest::Warmed(Found found) {
  warmInARow_ = found == Found::InMemory ? warmInARow_ + 1 : 0;
}

}  // namespace tessaly
