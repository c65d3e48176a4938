#include "platform/ReadAheadRest.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace tessaly {
namespace {

std::string Times(int n, char c) {
  return std::string(static_cast<std::size_t>(n), c);
}

// Hints one after another, each warmed when taken, as the script says: 'm'
// finds its file in memory, 'd' asks the device; in capitals, the first hint
// of another directory. What was taken: the script's letter, or '.' for a
// hint passed over.
TEST(ReadAheadRestTest, ItRestsAfterARunInMemoryProbesAndWakesWhenTheDeviceIsAsked) {
  const int rest = ReadAheadRest::kWarmToRest, probe = ReadAheadRest::kProbeEvery;
  const std::string awake = Times(rest, 'm'), skipped = Times(probe - 1, '.');
  const struct {
    const char* why;
    std::string script, taken;
  } cases[] = {
      {"awake until the last of a run in memory", Times(rest, 'm') + "m", awake + "."},
      {"at rest every probe-th hint is taken", awake + Times(2 * probe, 'm'),
       awake + skipped + "m" + skipped + "m"},
      {"a probe that asks the device wakes it", awake + Times(probe, 'd') + "mmd",
       awake + skipped + "dmmd"},
      {"the device asked within the run counts it again", Times(rest - 1, 'm') + "d" + awake,
       Times(rest - 1, 'm') + "d" + awake},
      {"at rest another directory's 1st, 17th, 33rd… hints are probes",
       awake + "M" + Times(15, 'm') + "m" + Times(15, 'm') + "dm",
       awake + "M" + Times(15, '.') + "m" + Times(15, '.') + "dm"},
  };
  for (const auto& c : cases) {
    ReadAheadRest rule;
    std::string taken;
    for (char warm : c.script) {
      const bool takes = rule.TakesHint(std::isupper(warm) ? ReadAheadRest::Place::NewDirectory
                                                           : ReadAheadRest::Place::SameDirectory);
      taken += takes ? warm : '.';
      if (!takes) continue;
      rule.Warmed(std::tolower(warm) == 'm' ? ReadAheadRest::Found::InMemory
                                            : ReadAheadRest::Found::FromDevice);
    }
    EXPECT_EQ(taken, c.taken) << c.why;
  }
}

}  // namespace
}  // namespace tessaly
