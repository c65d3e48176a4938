#include "platform/ReadAhead.h"

namespace tessaly {

ReadAhead::ReadAhead(std::size_t threads, Warm warm)
    : threadCount_(threads), warm_(std::move(warm)) {}

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
    if (threads_.size() < threadCount_) threads_.emplace_back([this] { Work(); });
  }
  wake_.notify_one();
}

void ReadAhead::Work() {
  std::vector<std::string> next;
  bool warmed = false, inMemory = false;  // the last warm, counted under the lock
  for (;;) {
    std::string path;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (warmed) warmInARow_ = inMemory ? warmInARow_ + 1 : 0;
      for (std::string& more : next) {
        if (queue_.size() < kQueued) queue_.push_back(std::move(more));
      }
      if (!next.empty()) wake_.notify_all();
      next.clear();
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (stopping_) return;
      path = std::move(queue_.front());
      queue_.pop_front();
    }
    inMemory = warm_(path, next);
    warmed = true;
  }
}

}  // namespace tessaly
