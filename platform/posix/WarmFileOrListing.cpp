#include "platform/posix/WarmFileOrListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include "text/AsciiCase.h"

namespace tessaly {

namespace {

// Whether the first byte of the open file `fd` of `size` bytes is in memory,
// found without asking the device: a read that only takes what is in
// memory, or where the file system cannot read so (FUSE), a look at the
// residency of the first page mapped.
bool StartInMemory(int fd, off_t size) {
  char byte;
  iovec one{&byte, 1};
  if (preadv2(fd, &one, 1, 0, RWF_NOWAIT) >= 0) return true;
  if (errno == EAGAIN) return false;
  if (size <= 0) return true;  // nothing there to warm
  void* first = mmap(nullptr, 1, PROT_READ, MAP_SHARED, fd, 0);
  if (first == MAP_FAILED) return false;
  unsigned char resident = 0;
  const bool inMemory = mincore(first, 1, &resident) == 0 && (resident & 1) != 0;
  munmap(first, 1);
  return inMemory;
}

}  // namespace

bool WarmFileOrListing(const std::string& path, std::vector<std::string>& next) {
  // An O_PATH descriptor opens nothing: not a FIFO, not a device. Only once
  // it shows a regular file or a directory is that very one opened.
  int handle = open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
  if (handle < 0) return true;
  bool inMemory = true;
  struct stat st;
  if (fstat(handle, &st) == 0 && (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))) {
    std::string self = "/proc/self/fd/" + std::to_string(handle);
    int fd = open(self.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd >= 0 && S_ISREG(st.st_mode)) {
      // Whether the file's start is in memory tells whether the device has
      // to be asked; then it is asked for the header reader's first block,
      // and its answer waited for, so that the warms in flight are the
      // device's requests in flight.
      if (!StartInMemory(fd, st.st_size)) {
        inMemory = false;
        char byte;
        posix_fadvise(fd, 0, 8192, POSIX_FADV_WILLNEED);
        ssize_t answered = pread(fd, &byte, 1, 0);
        static_cast<void>(answered);  // the walk reports what fails
      }
      close(fd);
    } else if (DIR* dir = fd >= 0 ? fdopendir(fd) : nullptr) {
      constexpr std::size_t kFirstPictures = 16;
      while (const dirent* entry = readdir(dir)) {
        if (next.size() < kFirstPictures && entry->d_type == DT_REG &&
            IsPictureName(entry->d_name)) {
          next.push_back(path + "/" + entry->d_name);
        }
      }
      closedir(dir);
    } else if (fd >= 0) {
      close(fd);
    }
  }
  close(handle);
  return inMemory;
}

}  // namespace tessaly
