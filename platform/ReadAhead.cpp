#include "platform/ReadAhead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

namespace tessaly {

ReadAhead::ReadAhead(std::size_t threads, std::function<void(const std::string&)> warm)
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

void ReadAhead::Hint(const std::string& path) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.size() >= kQueued) return;
    queue_.push_back(path);
    if (threads_.size() < threadCount_) threads_.emplace_back([this] { Work(); });
  }
  wake_.notify_one();
}

void ReadAhead::Work() {
  for (;;) {
    std::string path;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (stopping_) return;
      path = std::move(queue_.front());
      queue_.pop_front();
    }
    warm_(path);
  }
}

void WarmPictureHeader(const std::string& path) {
  // An O_PATH descriptor opens nothing: not a FIFO, not a device. Only once
  // it shows a regular file is that very file opened for reading.
  int handle = open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
  if (handle < 0) return;
  struct stat st;
  if (fstat(handle, &st) == 0 && S_ISREG(st.st_mode)) {
    std::string self = "/proc/self/fd/" + std::to_string(handle);
    int fd = open(self.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd >= 0) {
      std::array<char, 8192> block;  // the header reader's first block
      while (read(fd, block.data(), block.size()) < 0 && errno == EINTR) {
      }
      close(fd);
    }
  }
  close(handle);
}

}  // namespace tessaly
