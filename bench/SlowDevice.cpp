// A slow device for the cold benchmarks, in user space: a FUSE file system
// that passes through to a real directory, waits a fixed latency for each
// request that reaches the device, and serves at most AT_ONCE of them at a
// time (1 stands for a card in a USB reader, 32 for an SSD). A request that
// reaches the device is a read, or the first read of a file since mounting
// asks for its metadata as well (a real device's first open does; a real device is not asked again
// while the file's inode is in memory). Mounted afresh for each run, it starts with nothing of it
// in the kernel's caches, so a cold run is repeatable without dropping the page cache; the real
// directory stays in memory throughout.
//
// What a local file system answers from memory is answered by the kernel
// here too, not by a trip through FUSE: files are not opened (the kernel's
// no-open mode), names looked up, found or not, stay known, and the pages
// read stay read. What still makes the trip (a rename, a look at a renamed
// file, a directory's listing) costs a few microseconds a real device does
// not; the benchmark's bare loop pays them as well.
//
//   slow_device REAL_DIR MOUNT_POINT LATENCY_US AT_ONCE [-f]

#define FUSE_USE_VERSION 312
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
#include <string_view>
#include <thread>
#include <unordered_set>
#include <vector>

namespace {

std::string realRoot;
std::chrono::microseconds latency{0};
std::counting_semaphore<1024>* device = nullptr;
bool noOpen = false;  // the kernel opens files without asking
std::mutex knownMutex;
std::unordered_set<ino_t> known;  // the files looked at since mounting

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
  // Every change goes through this mount, so what the kernel knows of a name
  // stays true.
  config->entry_timeout = config->attr_timeout = config->negative_timeout = 3600;
  // Reads asked ahead (a read-ahead's or the kernel's) are background requests,
  // which the kernel holds back beyond this many.
  connection->max_background = 128;
  connection->congestion_threshold = 96;
  noOpen = (connection->capable & FUSE_CAP_NO_OPEN_SUPPORT) != 0;
  return nullptr;
}

// A descriptor kept in `fh` is one more than the real one: 0 is a file the
// kernel did not open (no-open mode), read and written by its path.
int Descriptor(const fuse_file_info* file) {
  return file ? static_cast<int>(file->fh) - 1 : -1;
}

int GetAttr(const char* path, struct stat* st, fuse_file_info* file) {
  if (Descriptor(file) >= 0) return Result(fstat(Descriptor(file), st));
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
  file->fh = static_cast<uint64_t>(fd) + 1;
  return 0;
}

// An open that comes while the kernel can do without is refused as not
// implemented, after which the kernel opens files itself.
int Open(const char* path, fuse_file_info* file) {
  return noOpen ? -ENOSYS : OpenAs(path, file, file->flags, 0);
}

int Create(const char* path, mode_t mode, fuse_file_info* file) {
  return OpenAs(path, file, file->flags | O_CREAT, mode);
}

// Calls `call` with a real descriptor of the file: its own, or one opened
// for the call by `path`.
template <typename Call>
int WithDescriptor(const char* path, const fuse_file_info* file, int flags, Call call) {
  int fd = Descriptor(file);
  const bool own = fd < 0;
  if (own && (fd = open(Real(path).c_str(), flags)) < 0) return -errno;
  ssize_t n = call(fd);
  int result = n < 0 ? -errno : static_cast<int>(n);
  if (own) close(fd);
  return result;
}

// The first read of a file since mounting asks the device for the file's
// metadata first, as its first open would on a real one; in no-open mode
// the open never comes here, and a look at a name must not wait, as it
// would hold the kernel's lock on the directory.
int Read(const char* path, char* buffer, size_t size, off_t offset, fuse_file_info* file) {
  return WithDescriptor(path, file, O_RDONLY, [&](int fd) {
    struct stat st;
    if (fstat(fd, &st) != 0) return -1L;
    bool first;
    {
      std::lock_guard<std::mutex> lock(knownMutex);
      first = known.insert(st.st_ino).second;
    }
    if (first) AsTheDevice([] { return 0; });
    return static_cast<long>(AsTheDevice([&] { return pread(fd, buffer, size, offset); }));
  });
}

int Write(const char* path, const char* buffer, size_t size, off_t offset, fuse_file_info* file) {
  return WithDescriptor(path, file, O_WRONLY,
                        [&](int fd) { return pwrite(fd, buffer, size, offset); });
}

int Release(const char*, fuse_file_info* file) {
  return Descriptor(file) >= 0 ? Result(close(Descriptor(file))) : 0;
}

int Fsync(const char* path, int, fuse_file_info* file) {
  return WithDescriptor(path, file, O_RDONLY, [](int fd) { return fsync(fd); });
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
  if (Descriptor(file) >= 0) return Result(ftruncate(Descriptor(file), size));
  return Result(truncate(Real(path).c_str(), size));
}
int SetTimes(const char* path, const timespec times[2], fuse_file_info*) {
  return Result(utimensat(AT_FDCWD, Real(path).c_str(), times, AT_SYMLINK_NOFOLLOW));
}
int FileSystemStatus(const char* path, struct statvfs* st) {
  return Result(statvfs(Real(path).c_str(), st));
}

// Mounts at `mountPoint` and answers until unmounted, in the background
// once mounted unless `foreground`. The device's places, not libfuse's
// threads (10 by default), bound the requests answered at once.
int Serve(std::vector<char*>& arguments, const fuse_operations& operations, const char* mountPoint,
          bool foreground) {
  fuse_args args = FUSE_ARGS_INIT(static_cast<int>(arguments.size()), arguments.data());
  fuse* mounted = fuse_new(&args, &operations, sizeof operations, nullptr);
  if (mounted == nullptr) return 1;
  if (fuse_mount(mounted, mountPoint) != 0) {
    fuse_destroy(mounted);
    return 1;
  }
  int result = fuse_daemonize(foreground ? 1 : 0);
  if (result == 0) result = fuse_set_signal_handlers(fuse_get_session(mounted));
  if (result == 0) {
    fuse_loop_config* config = fuse_loop_cfg_create();
    fuse_loop_cfg_set_max_threads(config, 1100);
    fuse_loop_cfg_set_idle_threads(config, 64);
    result = fuse_loop_mt(mounted, config);
    fuse_loop_cfg_destroy(config);
    fuse_remove_signal_handlers(fuse_get_session(mounted));
  }
  fuse_unmount(mounted);
  fuse_destroy(mounted);
  return result == 0 ? 0 : 1;
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

  bool foreground = false;
  std::vector<char*> args{argv[0], const_cast<char*>("-o"),
                          const_cast<char*>("fsname=slow_device")};
  for (int i = 5; i < argc; ++i) {
    if (std::string_view(argv[i]) == "-f") {
      foreground = true;
    } else {
      args.push_back(argv[i]);  // -d for libfuse's log of every request
      foreground = foreground || std::string_view(argv[i]) == "-d";
    }
  }
  return Serve(args, operations, argv[2], foreground);
}
