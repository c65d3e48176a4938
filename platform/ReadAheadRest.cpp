#include "platform/ReadAheadRest.h"

namespace tessaly {

bool ReadAheadRest::TakesHint(Place place) {
  if (!Resting()) return true;
  const bool counted = ++hintsWhileResting_ % kProbeEvery == 0;
  return counted || place == Place::NewDirectory;
}

void ReadAheadRest::Warmed(Found found) {
  warmInARow_ = found == Found::InMemory ? warmInARow_ + 1 : 0;
}

}  // namespace tessaly
