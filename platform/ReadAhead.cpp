#include "platform/ReadAhead.h"

#include "platform/FileSystem.h"

#include <optional>

namespace tessaly {

std::unique_ptr<ReadAhead> FileSystem::StartReadAhead() {
  return nullptr;
}

ReadAhead::ReadAhead(ReadAheadDepth depth, Warm warm) : warm_(std::move(warm)), depth_(depth) {}

ReadAhead::~ReadAhead() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  wake_.notify_all();
  for (std::thread& thread : threads_)
    thread.join();
}

void ReadAhead::Hint(std::string_view path, std::string_view name) {
  bool taken;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const bool newDirectory = path != lastDirectory_;
    if (newDirectory) lastDirectory_.assign(path);
    const bool resting = rest_.Resting();
    taken = rest_.TakesHint(newDirectory ? ReadAheadRest::Place::NewDirectory
                                         : ReadAheadRest::Place::SameDirectory);
    if (!resting && queue_.size() >= kQueued) return;
    if (resting) {
      // The walk has left the last directory: its hints are behind it.
      if (newDirectory) queue_.clear();
      if (queue_.size() >= kQueued) queue_.pop_front();
      probes_ += taken ? 1 : 0;
    }
    queue_.emplace_back(path).append(name);
    if (threads_.size() < depth_.Depth()) threads_.emplace_back([this] { Work(); });
  }
  if (taken) wake_.notify_one();
}

void ReadAhead::Work() {
  std::vector<std::string> next;
  std::optional<ReadAheadRest::Found> last;  // counted under the lock
  for (;;) {
    std::string path;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (last) {
        --inFlight_;
        const bool wasResting = rest_.Resting();
        rest_.Warmed(*last);
        if (wasResting && !rest_.Resting()) {
          probes_ = 0;
          wake_.notify_all();  // what waited is warmed from the next oldest on
        }
        std::size_t depth = depth_.Depth();
        if (last == ReadAheadRest::Found::FromDevice) {
          depth_.Warmed(ReadAheadDepth::Clock::now(), queue_.empty()
                                                          ? ReadAheadDepth::Backlog::Empty
                                                          : ReadAheadDepth::Backlog::Waiting);
        }
        if (depth_.Depth() > depth) wake_.notify_all();
      }
      for (std::string& more : next) {
        if (queue_.size() < kQueued) queue_.push_back(std::move(more));
      }
      if (!next.empty()) wake_.notify_all();
      next.clear();
      wake_.wait(lock, [this] {
        return stopping_ ||
               (!queue_.empty() && inFlight_ < depth_.Depth() && (!rest_.Resting() || probes_ > 0));
      });
      if (stopping_) return;
      // A probe asks about the furthest the walk will go.
      if (rest_.Resting()) {
        --probes_;
        path = std::move(queue_.back());
        queue_.pop_back();
      } else {
        path = std::move(queue_.front());
        queue_.pop_front();
      }
      ++inFlight_;
    }
    last = warm_(path, next) ? ReadAheadRest::Found::InMemory : ReadAheadRest::Found::FromDevice;
  }
}

}  // namespace tessaly
