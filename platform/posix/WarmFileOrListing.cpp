#include "platform/posix/WarmFileOrListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include "text/AsciiCase.h"

namespace tessaly {

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
      // A byte read only when it is in memory tells whether the device has
      // to be asked; then it is asked for the header reader's first block,
      // and its answer waited for, so that the warms in flight are the
      // device's requests in flight.
      char byte;
      iovec one{&byte, 1};
      if (preadv2(fd, &one, 1, 0, RWF_NOWAIT) < 0) {
        inMemory = false;
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
