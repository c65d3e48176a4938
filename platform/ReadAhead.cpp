#include "platform/ReadAhead.h"

#include "platform/FileSystem.h"

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
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.size() >= kQueued) return;
    if (warmInARow_ >= kWarmToRest && ++hintsWhileResting_ % kProbeEvery != 0) return;
    queue_.emplace_back(path).append(name);
    if (threads_.size() < depth_.Depth()) threads_.emplace_back([this] { Work(); });
  }
  wake_.notify_one();
}

void ReadAhead::Work() {
  std::vector<std::string> next;
  enum class Last { None, InMemory, FromDevice } last = Last::None;  // counted under the lock
  for (;;) {
    std::string path;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (last != Last::None) {
        --inFlight_;
        warmInARow_ = last == Last::InMemory ? warmInARow_ + 1 : 0;
        std::size_t depth = depth_.Depth();
        if (last == Last::FromDevice) depth_.Warmed(ReadAheadDepth::Clock::now());
        if (depth_.Depth() > depth) wake_.notify_all();
      }
      for (std::string& more : next) {
        if (queue_.size() < kQueued) queue_.push_back(std::move(more));
      }
      if (!next.empty()) wake_.notify_all();
      next.clear();
      wake_.wait(lock,
                 [this] { return stopping_ || (!queue_.empty() && inFlight_ < depth_.Depth()); });
      if (stopping_) return;
      path = std::move(queue_.front());
      queue_.pop_front();
      ++inFlight_;
    }
    last = warm_(path, next) ? Last::InMemory : Last::FromDevice;
  }
}

}  // namespace tessaly
