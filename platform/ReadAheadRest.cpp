#include "platform/ReadAheadRest.h"

namespace tessaly {

bool ReadAheadRest::TakesHint() {
  return warmInARow_ < kWarmToRest || ++hintsWhileResting_ % kProbeEvery == 0;
}

void ReadAheadRest::Warmed(Found found) {
  warmInARow_ = found == Found::InMemory ? warmInARow_ + 1 : 0;
}

}  // namespace tessaly
