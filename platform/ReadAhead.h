#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/ReadAheadDepth.h"
#include "platform/ReadAheadRest.h"

namespace tessaly {

// Keeps a slow device busy ahead of a walk: threads warm the files they are
// told of (the header reads that the walk will make next), so that when the
// walk reads a header itself it is already in memory. Nothing read is handed
// over: what the walk reads never depends on this.
//
// At most kQueued files wait; a hint beyond that is dropped. At rest (see
// ReadAheadRest) only probes are warmed, each the latest hint, and the
// latest kQueued hints wait, the oldest dropped for a new one and all of
// them for a new directory's first: when a probe ends the rest, they are
// warmed from the oldest on. As many warms are in flight at once as the
// depth says (see ReadAheadDepth), which follows what the device rewards
// while the run goes; a thread is started when the depth first needs it.
// The threads stop when this object goes (at the end of a run): what waits
// is dropped, and only the warms in flight are finished.
class ReadAhead {
 public:
  static constexpr std::size_t kQueued = 64;

  // Warms `path`; may name further paths to warm after it in `next`. True
  // when it was all in memory already, false when the device was asked (and
  // has answered).
  using Warm = std::function<bool(const std::string& path, std::vector<std::string>& next)>;

  // `warm` is called on the threads, one path at a time; it must be safe to
  // call from several threads at once and must not throw.
  ReadAhead(ReadAheadDepth depth, Warm warm);
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Warms the file or directory at `path` followed by `name` (joined only
  // when the hint is taken).
  void Hint(std::string_view path, std::string_view name = {});

 private:
  void Work();

  const Warm warm_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::string> queue_;
  bool stopping_ = false;
  ReadAheadDepth depth_;
  std::size_t inFlight_ = 0;
  ReadAheadRest rest_;
  std::size_t probes_ = 0;     // probes at rest not yet taken
  std::string lastDirectory_;  // of the last hint
  std::vector<std::thread> threads_;
};

}  // namespace tessaly
