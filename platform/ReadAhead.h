#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tessaly {

// Keeps a slow device busy ahead of a walk: a few threads warm the files
// they are told of (the header reads that the walk will make next), so that
// when the walk reads a header itself it is already in memory. Nothing read
// is handed over: what the walk reads never depends on this.
//
// At most kQueued files wait; a hint beyond that is dropped. The threads
// start with the first hint and stop when this object goes (at the end of a
// run): what waits is dropped, and only the warms in flight are finished.
class ReadAhead {
 public:
  static constexpr std::size_t kQueued = 64;

  // `warm` is called on the threads, one path at a time; it must be safe to
  // call from several threads at once and must not throw.
  ReadAhead(std::size_t threads, std::function<void(const std::string&)> warm);
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  void Hint(const std::string& path);

 private:
  void Work();

  const std::size_t threadCount_;
  const std::function<void(const std::string&)> warm_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::string> queue_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// Warms the start of the file at `path` into the page cache: opened without
// following a link and looked at before it is opened for reading, so that a
// FIFO, a device or a link is never opened; anything but a regular file is
// left alone.
void WarmPictureHeader(const std::string& path);

}  // namespace tessaly
