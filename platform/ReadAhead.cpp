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
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.size() >= kQueued) return;
    if (!rest_.TakesHint()) return;
    queue_.emplace_back(path).append(name);
    if (threads_.size() < depth_.Depth()) threads_.emplace_back([this] { Work(); });
  }
  wake_.notify_one();
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
        rest_.Warmed(*last);
        std::size_t depth = depth_.Depth();
        if (last == ReadAheadRest::Found::FromDevice) depth_.Warmed(ReadAheadDepth::Clock::now());
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
    last = warm_(path, next) ? ReadAheadRest::Found::InMemory : ReadAheadRest::Found::FromDevice;
  }
}

}  // namespace tessaly
