#include "platform/ReadAhead.h"
#include "platform/posix/WarmFileOrListing.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "tests/support/TempTree.h"

namespace tessaly {
namespace {

using namespace std::chrono_literals;

TEST(ReadAheadTest, ItHoldsABoundedQueueAndStopsWithoutFinishingIt) {
  std::atomic<int> warmed{0}, started{0};
  std::atomic<bool> release{false};
  int beforeTheEnd = 0;
  std::thread releaser;
  {
    ReadAhead readAhead(ReadAheadDepth(2, 2), [&](const std::string&, std::vector<std::string>&) {
      ++started;
      while (!release)
        std::this_thread::sleep_for(1ms);
      ++warmed;
      return false;
    });
    for (int i = 0; i < 1000; ++i)  // both threads held: the rest waits or is dropped
      readAhead.Hint(std::to_string(i));
    while (started < 2)
      std::this_thread::sleep_for(1ms);
    release = true;
    std::this_thread::sleep_for(100ms);
    EXPECT_GE(warmed, static_cast<int>(ReadAhead::kQueued));
    EXPECT_LE(warmed, 2 + static_cast<int>(ReadAhead::kQueued));
    // Held again with work waiting, the read-ahead goes: only the two warms
    // in flight end.
    release = false;
    for (int i = 0; i < 100; ++i)
      readAhead.Hint(std::to_string(i));
    while (started < warmed + 2)
      std::this_thread::sleep_for(1ms);
    beforeTheEnd = warmed;
    releaser = std::thread([&] {
      std::this_thread::sleep_for(20ms);
      release = true;
    });
  }
  releaser.join();
  EXPECT_EQ(warmed, beforeTheEnd + 2);
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(warmed, beforeTheEnd + 2) << "no thread goes on after the read-ahead is gone";
}

// After a run of warms in memory the read-ahead rests: only every 128th
// hint, and a new directory's first and 17th, are probes, each warming the
// latest hint; the one that finds the device asked wakes the read-ahead,
// which warms what waited from the oldest on. One thread, and each hint
// waits for the warms it must bring, so the order is the rule's.
TEST(ReadAheadTest, AtRestItProbesAndWarmsWhatWaitedOnceTheDeviceIsAsked) {
  std::mutex mutex;
  std::vector<std::string> warmed, expected, woken;
  const std::string cold = std::to_string(ReadAheadRest::kDirectoryProbeEvery);
  ReadAhead readAhead(ReadAheadDepth(1, 1),
                      [&](const std::string& path, std::vector<std::string>&) {
                        std::lock_guard<std::mutex> lock(mutex);
                        warmed.push_back(path);
                        return path != "b/" + cold;  // only that one asks the device
                      });
  const auto deadline = std::chrono::steady_clock::now() + 10s;  // for a fault: no hang
  const auto hint = [&](const char* directory, const std::string& name,
                        const std::vector<std::string>& warms) {
    readAhead.Hint(directory, name);
    expected.insert(expected.end(), warms.begin(), warms.end());
    for (; std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(1ms)) {
      if (std::lock_guard<std::mutex> lock(mutex); warmed.size() >= expected.size()) break;
    }
  };
  for (int i = 0; i < ReadAheadRest::kWarmToRest; ++i)
    hint("a/", std::to_string(i), {"a/" + std::to_string(i)});
  std::this_thread::sleep_for(50ms);  // the last warm is counted
  for (int i = 1; i < ReadAheadRest::kProbeEvery; ++i)
    hint("a/", "resting" + std::to_string(i), {});
  hint("a/", "probe", {"a/probe"});
  hint("b/", "0", {"b/0"});  // a new directory: what waited is behind the walk
  woken.push_back("b/" + cold);
  for (int i = 1; i < ReadAheadRest::kDirectoryProbeEvery; ++i) {
    hint("b/", std::to_string(i), {});
    woken.push_back("b/" + std::to_string(i));
  }
  hint("b/", cold, woken);
  hint("b/", "next", {"b/next"});  // awake
  std::this_thread::sleep_for(20ms);
  std::lock_guard<std::mutex> lock(mutex);
  EXPECT_EQ(warmed, expected);
}

// The names in `directory` that were opened while `act` ran (an O_PATH
// look is no opening).
std::vector<std::string> OpenedDuring(const std::string& directory,
                                      const std::function<void()>& act) {
  int watcher = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  inotify_add_watch(watcher, directory.c_str(), IN_OPEN);
  act();
  std::vector<std::string> opened;
  alignas(inotify_event) char buffer[4096];
  for (ssize_t n; (n = read(watcher, buffer, sizeof buffer)) > 0;) {
    for (char* at = buffer; at < buffer + n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(at);
      opened.push_back(event->len > 0 ? event->name : ".");
      at += sizeof(inotify_event) + event->len;
    }
  }
  close(watcher);
  return opened;
}

TEST(ReadAheadTest, OnlyRegularFilesAndDirectoriesAreOpenedNeverAFifoOrALink) {
  test::TempTree tree;
  ASSERT_EQ(mkfifo(tree.PathOf("pipe.jpg").c_str(), 0644), 0);
  ASSERT_EQ(symlink("pipe.jpg", tree.PathOf("link.jpg").c_str()), 0);
  ASSERT_EQ(symlink("card", tree.PathOf("cardlink").c_str()), 0);
  tree.Write("real.jpg", "picture");
  tree.Write("card/IMG_1.JPG", "1");
  tree.Write("card/notes.txt", "");
  ASSERT_EQ(mkfifo(tree.PathOf("card/pipe.jpg").c_str(), 0644), 0);
  ASSERT_EQ(symlink("IMG_1.JPG", tree.PathOf("card/link.jpg").c_str()), 0);
  std::vector<std::string> next;
  // clang-format off
  const struct { const char* path; std::vector<std::string> opened, next; } cases[] = {
      {"pipe.jpg", {}, {}},
      {"link.jpg", {}, {}},
      {"cardlink", {}, {}},
      {"real.jpg", {"real.jpg"}, {}},
      {"card", {"card"}, {tree.PathOf("card/IMG_1.JPG")}},  // its first pictures, to warm next
  };
  // clang-format on
  for (const auto& c : cases) {
    next.clear();
    EXPECT_EQ(OpenedDuring(tree.Root(), [&] { WarmFileOrListing(tree.PathOf(c.path), next); }),
              c.opened)
        << c.path;
    EXPECT_EQ(next, c.next) << c.path;
  }
}

}  // namespace
}  // namespace tessaly
