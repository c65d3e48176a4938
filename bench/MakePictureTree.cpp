// make_picture_tree DIR PICTURES DIRECTORIES [--one-second] [--camera MAKER MODEL]
// Writes PICTURES camera pictures spread over DIRECTORIES directories of
// DIR, each with its own date and time (several per date, so that date
// sub-directories fill up), or, with --one-second, all taken in the same
// second, as a burst is. Each file holds a real Exif header and is made about
// 2.5 MB long (no two of one length) with a hole, as a camera's picture would
// be, without using the disk for it. The camera is ACME's Z100 unless
// --camera names another.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/ExifWriter.h"

int main(int argc, char** argv) {
  bool oneSecond = false;
  std::string maker = "ACME", model = "ACME Z100";
  for (int i = 4; i < argc; ++i) {
    if (std::string(argv[i]) == "--one-second") {
      oneSecond = true;
    } else if (std::string(argv[i]) == "--camera" && i + 2 < argc) {
      maker = argv[++i];
      model = argv[++i];
    } else {
      argc = 0;
    }
  }
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: make_picture_tree DIR PICTURES DIRECTORIES [--one-second] "
                 "[--camera MAKER MODEL]\n");
    return 2;
  }
  const std::string root = argv[1];
  const long pictures = std::atol(argv[2]);
  const long directories = std::atol(argv[3]);
  mkdir(root.c_str(), 0755);
  for (long d = 0; d < directories; ++d) {
    mkdir((root + "/card" + std::to_string(d)).c_str(), 0755);
  }
  char date[32];
  for (long i = 0; i < pictures; ++i) {
    long day = oneSecond ? 0 : i / 400, second = oneSecond ? 0 : i % 400;
    std::snprintf(date, sizeof date, "20%02ld:%02ld:%02ld %02ld:%02ld:%02ld", 10 + day / 336 % 80,
                  1 + day / 28 % 12, 1 + day % 28, 8 + second / 3600, second / 60 % 60,
                  second % 60);
    auto bytes =
        tessaly::test::CameraPicture(date, maker, model, tessaly::test::Order::Intel, 8192, "");
    std::string path =
        root + "/card" + std::to_string(i % directories) + "/IMG_" + std::to_string(i) + ".JPG";
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ftruncate(fd, 2'500'000 + i) != 0 || close(fd) != 0) {
      std::perror(path.c_str());
      return 1;
    }
  }
  return 0;
}
