// The floor for a rename run: for every file named *.JPG in DIR and its
// sub-directories (one level, as the benchmark's trees have them), open,
// read 4 KiB, close, stat and rename it, one after the other, in plain POSIX
// calls. What Tessaly does per picture can be no cheaper.
//
// With --dated, the floor for a run into date sub-directories: each picture
// IMG_<n>.JPG is moved into the directory D<n / 400> beside it (made when
// first needed; make_picture_tree gives 400 pictures a date), and the
// pictures met again in those directories are opened, read and closed once
// more, as the walk meets them there.
//
//   bare_loop DIR [--dated]

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

bool dated = false;

// Opens, reads the header block of and closes the file at `path`.
void ReadHeader(const std::string& path) {
  char block[4096];
  int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return;
  if (read(fd, block, sizeof block) < 0) std::perror(path.c_str());
  close(fd);
}

// The name a picture gets where `directory` is: beside it, or with --dated
// in its date's directory, made on first use and remembered in `made`.
std::string Target(const std::string& directory, const std::string& name,
                   std::set<std::string>& made) {
  if (!dated) return directory + "/R" + name;
  std::string dateDirectory = directory + "/D" + std::to_string(std::atol(name.c_str() + 4) / 400);
  if (made.insert(dateDirectory).second) mkdir(dateDirectory.c_str(), 0777);
  return dateDirectory + "/R" + name;
}

void Handle(const std::string& directory) {
  DIR* dir = opendir(directory.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> subDirectories;
  std::set<std::string> made;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (entry->d_type == DT_DIR && name[0] != '.' && !made.count(directory + "/" + name)) {
      subDirectories.push_back(directory + "/" + name);
    }
    if (entry->d_type != DT_REG || name.size() < 4 ||
        name.compare(name.size() - 4, 4, ".JPG") != 0) {
      continue;
    }
    std::string path = directory + "/" + name;
    if (name[0] == 'R') {  // met again, named already
      if (dated) ReadHeader(path);
      continue;
    }
    ReadHeader(path);
    struct stat st;
    stat(path.c_str(), &st);
    rename(path.c_str(), Target(directory, name, made).c_str());
  }
  closedir(dir);
  subDirectories.insert(subDirectories.end(), made.begin(), made.end());
  for (const std::string& sub : subDirectories)
    Handle(sub);
}

}  // namespace

int main(int argc, char** argv) {
  dated = argc == 3 && std::strcmp(argv[2], "--dated") == 0;
  if (argc != 2 && !dated) {
    std::fprintf(stderr, "usage: bare_loop DIR [--dated]\n");
    return 2;
  }
  Handle(argv[1]);
  return 0;
}
