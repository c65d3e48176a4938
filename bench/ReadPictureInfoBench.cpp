// ReadPictureInfo on a real picture file in the page cache, against the bare
// open/read/close that any reader of the file pays.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "engine/ReadPictureFile.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/support/ExifWriter.h"

namespace {

const std::string& PicturePath() {
  static const std::string path = [] {
    std::string p = "/tmp/tessaly-bench-picture.JPG";
    auto bytes = tessaly::test::CameraPicture("2009:08:12 12:07:41", "ACME", "ACME Z100",
                                              tessaly::test::Order::Intel, 3'000'000, "");
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return p;
  }();
  return path;
}

void ReadPictureInfoOnCachedFile(benchmark::State& state) {
  tessaly::PosixFileSystem fs;
  const std::string& path = PicturePath();
  for (auto _ : state) {
    tessaly::ReadResult result =
        tessaly::ReadPictureInfo(fs, path, tessaly::FileKinds::RegularOnly);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ReadPictureInfoOnCachedFile);

// The file system's own cost: open, one read of the same block, close.
void OpenReadCloseOnCachedFile(benchmark::State& state) {
  const std::string& path = PicturePath();
  char buffer[8192];
  for (auto _ : state) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(read(fd, buffer, sizeof buffer));
    close(fd);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(OpenReadCloseOnCachedFile);

}  // namespace

BENCHMARK_MAIN();
