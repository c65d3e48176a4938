// Every input that once made the header reader misbehave, and the fuzzer's
// seeds, read again here (under the sanitizers in CI) the way the fuzzer
// reads them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/FuzzInput.h"

namespace tessaly {
namespace {

TEST(CrashInputTest, EveryKeptInputReadsToAConsistentResult) {
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TESSALY_REGRESSION_DIR)) {
    SCOPED_TRACE(entry.path().filename().string());
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    FuzzOutcome outcome = ReadFuzzInput(bytes);
    const PictureInfo& info = outcome.read.info;
    if (!outcome.read.ok()) {
      EXPECT_FALSE(info.HeaderAccepted);
    }
    if (info.DateFound) {
      EXPECT_EQ(info.DateText.size(), 10u);
      EXPECT_EQ(info.TimeText.size(), 8u);
      EXPECT_EQ(outcome.name.DatePart.empty(), false);
    } else {
      EXPECT_TRUE(info.DateText.empty());
      EXPECT_FALSE(outcome.usable);
    }
    EXPECT_EQ(info.MakerText.find('\0'), std::string::npos);
    EXPECT_EQ(info.ModelText.find('\0'), std::string::npos);
    ++inputs;
  }
  EXPECT_GT(inputs, 0);
}

}  // namespace
}  // namespace tessaly
