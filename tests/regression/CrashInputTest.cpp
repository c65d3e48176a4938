// Every input that once made the header reader misbehave (and the fuzzer's
// seeds) is read again here, under the sanitizers in CI.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/ReadPictureInfo.h"
#include "platform/MemoryFile.h"

namespace tessaly {
namespace {

class AllOptions final : public OptionSource {
 public:
  RenameOptions ReadOptions() override { return RenameOptions{true, true, true}; }
};

TEST(CrashInputTest, EveryKeptInputReadsToAConsistentResult) {
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TESSALY_REGRESSION_DIR)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    for (std::size_t chunk : {SIZE_MAX, std::size_t{1}, std::size_t{4096}}) {
      MemoryFile file(bytes, chunk);
      AllOptions options;
      ReadResult result = ReadPictureInfo(file, options);
      SCOPED_TRACE(entry.path().filename().string());
      if (!result.ok()) {
        EXPECT_FALSE(result.info.HeaderAccepted);
      }
      if (result.info.DateFound) {
        EXPECT_EQ(result.info.DateText.size(), 10u);
        EXPECT_EQ(result.info.TimeText.size(), 8u);
      } else {
        EXPECT_TRUE(result.info.DateText.empty());
      }
      EXPECT_LT(result.info.MakerText.size(), 32767u);
      EXPECT_EQ(result.info.MakerText.find('\0'), std::string::npos);
      EXPECT_EQ(result.info.ModelText.find('\0'), std::string::npos);
    }
    ++inputs;
  }
  EXPECT_GT(inputs, 0);
}

}  // namespace
}  // namespace tessaly
