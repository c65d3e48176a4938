#include "platform/ReadAhead.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>

#include "tests/support/TempTree.h"

namespace tessaly {
namespace {

using namespace std::chrono_literals;

TEST(ReadAheadTest, ItHoldsABoundedQueueAndStopsWithoutFinishingIt) {
  std::atomic<int> warmed{0}, started{0};
  std::atomic<bool> release{false};
  {
    ReadAhead readAhead(2, [&](const std::string&) {
      ++started;
      while (!release)
        std::this_thread::sleep_for(1ms);
      ++warmed;
    });
    for (int i = 0; i < 1000; ++i)
      readAhead.Hint(std::to_string(i));
    while (started < 2)
      std::this_thread::sleep_for(1ms);
    release = true;
  }  // gone: what was queued is dropped, the two warms in flight end
  const int atEnd = warmed;
  EXPECT_GE(atEnd, 2);
  EXPECT_LE(atEnd, 2 + static_cast<int>(ReadAhead::kQueued));
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(warmed, atEnd) << "no thread goes on after the read-ahead is gone";
}

// Whether a reader opens the FIFO at `path` while `act` runs: a writer
// waiting to open it is let through only by a reader.
bool OpensFifo(const std::string& path, const std::function<void()>& act) {
  std::atomic<bool> writerIn{false};
  std::thread writer([&] {
    int fd = open(path.c_str(), O_WRONLY);
    writerIn = true;
    if (fd >= 0) close(fd);
  });
  std::this_thread::sleep_for(20ms);  // the writer waits by now
  act();
  std::this_thread::sleep_for(50ms);
  const bool opened = writerIn;
  int reader = open(path.c_str(), O_RDONLY | O_NONBLOCK);  // lets the writer go
  writer.join();
  close(reader);
  return opened;
}

TEST(ReadAheadTest, AFifoOrALinkIsNeverOpenedAndAPictureIsWarmed) {
  test::TempTree tree;
  ASSERT_EQ(mkfifo(tree.PathOf("pipe.jpg").c_str(), 0644), 0);
  ASSERT_EQ(symlink(tree.PathOf("pipe.jpg").c_str(), tree.PathOf("link.jpg").c_str()), 0);
  tree.Write("real.jpg", "picture");
  EXPECT_FALSE(
      OpensFifo(tree.PathOf("pipe.jpg"), [&] { WarmPictureHeader(tree.PathOf("pipe.jpg")); }));
  EXPECT_FALSE(
      OpensFifo(tree.PathOf("pipe.jpg"), [&] { WarmPictureHeader(tree.PathOf("link.jpg")); }));
  // The test itself sees a reader: opening the FIFO does let the writer in.
  EXPECT_TRUE(OpensFifo(tree.PathOf("pipe.jpg"), [&] {
    close(open(tree.PathOf("pipe.jpg").c_str(), O_RDONLY | O_NONBLOCK));
  }));
  // A regular file is read: its access time moves (strictatime or not, the
  // first read after a change to it does).
  struct stat before {
  }, after{};
  ASSERT_EQ(stat(tree.PathOf("real.jpg").c_str(), &before), 0);
  timespec old[2] = {{1, 0}, {1, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, tree.PathOf("real.jpg").c_str(), old, 0), 0);
  WarmPictureHeader(tree.PathOf("real.jpg"));
  ASSERT_EQ(stat(tree.PathOf("real.jpg").c_str(), &after), 0);
  EXPECT_GT(after.st_atim.tv_sec, 1);
}

}  // namespace
}  // namespace tessaly
