#include "platform/ReadAheadDepth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace tessaly {
namespace {

// A fake device: the warms it answers a second at a depth, at the n-th warm;
// and a fake walk: the warms a second it hints, at the n-th warm.
using Rate = std::function<double(std::size_t depth, int warm)>;

Rate AnswersAtOnce(std::size_t most) {
  return [most](std::size_t depth, int) { return static_cast<double>(std::min(depth, most)); };
}

TEST(ReadAheadDepthTest, ItDeepensWhileTheDeviceRewardsItBacksOffWhenNotAndKeepsItsBounds) {
  const auto hints = [](double perSecond) {
    return [perSecond](std::size_t, int) { return perSecond; };
  };
  const Rate never = hints(1e9);
  const Rate slowerFromAFifth = [](std::size_t, int warm) { return warm < 4000 ? 1e9 : 1.0; };
  // clang-format off
  const struct { const char* why; std::size_t least, most; Rate device, walk; std::size_t settles, deepest; } cases[] = {
      {"a card answers one request at a time", 1, 32, AnswersAtOnce(1), never, 1, 2},
      {"an SSD answers 32 at once", 1, 32, AnswersAtOnce(32), never, 32, 32},
      {"a device that answers 4 at once", 1, 32, AnswersAtOnce(4), never, 4, 8},
      {"a device slower out of order", 1, 32, [](std::size_t d, int) { return d <= 2 ? static_cast<double>(d) : 1.5; }, never, 2, 4},
      {"the walk sets the pace from a fifth of the run on", 1, 32, AnswersAtOnce(8), slowerFromAFifth, 1, 16},
      {"the same within 3 and 8", 3, 8, AnswersAtOnce(8), slowerFromAFifth, 3, 8},
      {"an SSD kept ahead of the walk at 8", 1, 32, AnswersAtOnce(32), hints(8), 8, 8},
      {"a device ahead of the walk at the least", 1, 32, AnswersAtOnce(32), hints(0.5), 1, 1},
  };
  // clang-format on
  constexpr int kWarms = 20000;
  for (const auto& c : cases) {
    ReadAheadDepth rule(c.least, c.most);
    ReadAheadDepth::Clock::time_point now{};
    std::size_t deepest = 0, shallowest = c.most, settledLater = 0;
    for (int warm = 0; warm < kWarms; ++warm) {
      std::size_t depth = rule.Depth();
      deepest = std::max(deepest, depth);
      shallowest = std::min(shallowest, depth);
      settledLater += warm >= kWarms / 2 && depth == c.settles;
      // Ahead of the walk, the read-ahead warms at its pace, and finds no
      // hint waiting.
      const double device = c.device(depth, warm), walk = c.walk(depth, warm);
      now += std::chrono::microseconds(static_cast<long>(1000 / std::min(device, walk)));
      rule.Warmed(
          now, device >= walk ? ReadAheadDepth::Backlog::Empty : ReadAheadDepth::Backlog::Waiting);
    }
    EXPECT_EQ(deepest, c.deepest) << c.why;
    EXPECT_GE(shallowest, c.least) << c.why;
    // Trials of another depth aside, the second half of the run keeps one.
    EXPECT_GE(settledLater, kWarms / 2 * 3 / 4) << c.why;
  }
}

}  // namespace
}  // namespace tessaly
