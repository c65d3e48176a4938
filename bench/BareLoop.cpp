// The floor for a rename run: for every file named *.JPG in DIR and its
// sub-directories (one level, as the benchmark's trees have them), open,
// read 4 KiB, close, stat and rename it, one after the other, in plain POSIX
// calls. What Tessaly does per picture can be no cheaper.
//
//   bare_loop DIR

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Handle(const std::string& directory) {
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> subDirectories;
  char block[4096];
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (entry->d_type == DT_DIR && name[0] != '.') subDirectories.push_back(directory + "/" + name);
    if (entry->d_type != DT_REG || name.size() < 4 ||
        name.compare(name.size() - 4, 4, ".JPG") != 0 || name[0] == 'R') {
      continue;
    }
    std::string path = directory + "/" + name;
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) continue;
    if (read(fd, block, sizeof block) < 0) std::perror(path.c_str());
    close(fd);
    struct stat st;
    stat(path.c_str(), &st);
    rename(path.c_str(), (directory + "/R" + name).c_str());
  }
  closedir(dir);
  for (const std::string& sub : subDirectories)
    Handle(sub);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bare_loop DIR\n");
    return 2;
  }
  Handle(argv[1]);
  return 0;
}
