// A slow device for the cold benchmarks, in user space: a FUSE file system
// that passes through to a real directory, waits a fixed latency for each
// request that reaches the device, and serves at most AT_ONCE of them at a
// time (1 stands for a card in a USB reader, 32 for an SSD). A request that
// reaches the device is a read, or the first open of a file since mounting
// (its metadata read; a real device is not asked again while the file's
// inode is in memory). Mounted afresh for each run, it starts with nothing
// of it in the kernel's caches, so a cold run is repeatable without dropping
// the page cache; the real directory stays in memory throughout.
//
//   slow_device REAL_DIR MOUNT_POINT LATENCY_US AT_ONCE [-f]

#define FUSE_USE_VERSION 35
#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <semaphore>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace {

std::string realRoot;
std::chrono::microseconds latency{0};
std::counting_semaphore<1024>* device = nullptr;
std::mutex openedMutex;
std::unordered_set<ino_t> opened;  // the files opened since mounting

std::string Real(const char* path) {
  return realRoot + path;
}

int Result(long done) {
  return done < 0 ? -errno : 0;
}

// Makes `call` as one request to the device: it waits for a free place and
// for the latency first.
template <typename Call>
auto AsTheDevice(Call call) {
  device->acquire();
  std::this_thread::sleep_for(latency);
  auto result = call();
  device->release();
  return result;
}

void* Init(fuse_conn_info* connection, fuse_config* config) {
  config->use_ino = 1;
  config->kernel_cache = 1;  // what was read stays read when the file is opened again
  config->hard_remove = 1;
  config->entry_timeout = config->attr_timeout = 3600;
  config->negative_timeout = 0;
  // Reads asked ahead (a read-ahead's or the kernel's) are background requests,
  // which the kernel holds back beyond this many.
  connection->max_background = 128;
  connection->congestion_threshold = 96;
  return nullptr;
}

int GetAttr(const char* path, struct stat* st, fuse_file_info* file) {
  if (file) return Result(fstat(static_cast<int>(file->fh), st));
  return Result(lstat(Real(path).c_str(), st));
}

int ReadDirectory(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
                  fuse_readdir_flags) {
  DIR* dir = opendir(Real(path).c_str());
  if (!dir) return -errno;
  while (const dirent* entry = readdir(dir)) {
    struct stat st {};
    st.st_ino = entry->d_ino;
    st.st_mode = static_cast<mode_t>(DTTOIF(entry->d_type));
    if (fill(buffer, entry->d_name, &st, 0, static_cast<fuse_fill_dir_flags>(0))) break;
  }
  closedir(dir);
  return 0;
}

int OpenAs(const char* path, fuse_file_info* file, int flags, mode_t mode) {
  int fd = open(Real(path).c_str(), flags, mode);
  if (fd < 0) return -errno;
  struct stat st;
  fstat(fd, &st);
  bool first;
  {
    std::lock_guard<std::mutex> lock(openedMutex);
    first = opened.insert(st.st_ino).second;
  }
  if (first) AsTheDevice([] { return 0; });
  file->fh = static_cast<uint64_t>(fd);
  return 0;
}

int Open(const char* path, fuse_file_info* file) {
  return OpenAs(path, file, file->flags, 0);
}

int Create(const char* path, mode_t mode, fuse_file_info* file) {
  return OpenAs(path, file, file->flags | O_CREAT, mode);
}

int Read(const char*, char* buffer, size_t size, off_t offset, fuse_file_info* file) {
  ssize_t n = AsTheDevice([&] { return pread(static_cast<int>(file->fh), buffer, size, offset); });
  return n < 0 ? -errno : static_cast<int>(n);
}

int Write(const char*, const char* buffer, size_t size, off_t offset, fuse_file_info* file) {
  ssize_t n = pwrite(static_cast<int>(file->fh), buffer, size, offset);
  return n < 0 ? -errno : static_cast<int>(n);
}

int Release(const char*, fuse_file_info* file) {
  return Result(close(static_cast<int>(file->fh)));
}

int Fsync(const char*, int, fuse_file_info* file) {
  return Result(fsync(static_cast<int>(file->fh)));
}

int Rename(const char* from, const char* to, unsigned int flags) {
  return Result(
      syscall(SYS_renameat2, AT_FDCWD, Real(from).c_str(), AT_FDCWD, Real(to).c_str(), flags));
}

int Link(const char* from, const char* to) {
  return Result(link(Real(from).c_str(), Real(to).c_str()));
}

int Symlink(const char* target, const char* path) {
  return Result(symlink(target, Real(path).c_str()));
}

int ReadLink(const char* path, char* buffer, size_t size) {
  ssize_t n = readlink(Real(path).c_str(), buffer, size - 1);
  if (n < 0) return -errno;
  buffer[n] = '\0';
  return 0;
}

int MakeDirectory(const char* path, mode_t mode) {
  return Result(mkdir(Real(path).c_str(), mode));
}
int RemoveDirectory(const char* path) {
  return Result(rmdir(Real(path).c_str()));
}
int Unlink(const char* path) {
  return Result(unlink(Real(path).c_str()));
}
int MakeNode(const char* path, mode_t mode, dev_t number) {
  return Result(mknod(Real(path).c_str(), mode, number));
}
int ChangeMode(const char* path, mode_t mode, fuse_file_info*) {
  return Result(chmod(Real(path).c_str(), mode));
}
int Truncate(const char* path, off_t size, fuse_file_info* file) {
  if (file) return Result(ftruncate(static_cast<int>(file->fh), size));
  return Result(truncate(Real(path).c_str(), size));
}
int SetTimes(const char* path, const timespec times[2], fuse_file_info*) {
  return Result(utimensat(AT_FDCWD, Real(path).c_str(), times, AT_SYMLINK_NOFOLLOW));
}
int FileSystemStatus(const char* path, struct statvfs* st) {
  return Result(statvfs(Real(path).c_str(), st));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: slow_device REAL_DIR MOUNT_POINT LATENCY_US AT_ONCE [-f]\n");
    return 2;
  }
  realRoot = argv[1];
  latency = std::chrono::microseconds(std::atol(argv[3]));
  std::counting_semaphore<1024> atOnce(std::clamp(std::atol(argv[4]), 1L, 1024L));
  device = &atOnce;
  // Sleeps end on time, not up to 50 µs late (the threads inherit this).
  prctl(PR_SET_TIMERSLACK, 1UL);

  fuse_operations operations{};
  operations.init = Init;
  operations.getattr = GetAttr;
  operations.readdir = ReadDirectory;
  operations.open = Open;
  operations.create = Create;
  operations.read = Read;
  operations.write = Write;
  operations.release = Release;
  operations.fsync = Fsync;
  operations.rename = Rename;
  operations.link = Link;
  operations.symlink = Symlink;
  operations.readlink = ReadLink;
  operations.mkdir = MakeDirectory;
  operations.rmdir = RemoveDirectory;
  operations.unlink = Unlink;
  operations.mknod = MakeNode;
  operations.chmod = ChangeMode;
  operations.truncate = Truncate;
  operations.utimens = SetTimes;
  operations.statfs = FileSystemStatus;

  std::vector<char*> args{argv[0], argv[2]};
  std::string options = "fsname=slow_device,max_threads=128";
  args.push_back(const_cast<char*>("-o"));
  args.push_back(options.data());
  for (int i = 5; i < argc; ++i)
    args.push_back(argv[i]);
  return fuse_main(static_cast<int>(args.size()), args.data(), &operations, nullptr);
}
