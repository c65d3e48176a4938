// Every input that once made the header reader misbehave, and the fuzzer's
// seeds, read again here (under the sanitizers in CI) as the fuzzer reads them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/FuzzInput.h"

namespace tessaly {
namespace {

TEST(CrashInputTest, EveryKeptInputReadsToAConsistentResult) {
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TESSALY_REGRESSION_DIR)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    FuzzOutcome outcome = ReadFuzzInput(bytes);
    const PictureInfo& info = outcome.read.info;
    EXPECT_TRUE(outcome.read.ok() || !info.headerAccepted) << entry.path();
    EXPECT_EQ(info.dateText.size() + info.timeText.size(), info.dateFound ? 18u : 0u)
        << entry.path();
    EXPECT_TRUE(info.dateFound || !outcome.usable) << entry.path();
    EXPECT_EQ((info.makerText + info.modelText).find('\0'), std::string::npos) << entry.path();
    ++inputs;
  }
  EXPECT_GT(inputs, 100);
}

}  // namespace
}  // namespace tessaly
