#pragma once

#include <string>
#include <string_view>

namespace tessaly {

// The separator the program writes between a directory and a name: "\" on
// Windows, "/" elsewhere. On Windows a "/" that a user types is read as one
// too.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr std::string_view kPathSeparators = "/";
#endif

constexpr bool IsPathSeparator(char c) {
  return kPathSeparators.find(c) != std::string_view::npos;
}

// Whether `path` names its place from a root, not from the working
// directory: "/..." here; on Windows "C:\..." or "\\server\...".
constexpr bool IsAbsolutePath(std::string_view path) {
#ifdef _WIN32
  return (path.size() >= 3 && path[1] == ':' && IsPathSeparator(path[2])) ||
         (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]));
#else
  return !path.empty() && path[0] == '/';
#endif
}

// `path` in the form the program writes: on Windows every "/" becomes "\".
inline std::string NativePathText(std::string path) {
  for (char& c : path) {
    if (IsPathSeparator(c)) c = kPathSeparator;
  }
  return path;
}

// `directory` followed by one separator (none added when it ends in one).
inline std::string WithFinalSeparator(std::string directory) {
  if (directory.empty() || !IsPathSeparator(directory.back())) directory += kPathSeparator;
  return directory;
}

// `name` in `directory` (named without a final separator).
inline std::string JoinPath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  path += kPathSeparator;
  return path += name;
}

// What holds `path`: up to and with its last separator; empty when it has
// none.
constexpr std::string_view DirectoryOf(std::string_view path) {
  return path.substr(0, path.find_last_of(kPathSeparators) + 1);
}

// The last name in `path`: what follows its last separator.
constexpr std::string_view FileNameOf(std::string_view path) {
  return path.substr(path.find_last_of(kPathSeparators) + 1);
}

// The stem X of a picture's name X.JPG (which ends in those four).
constexpr std::string_view StemOf(std::string_view pictureName) {
  return pictureName.substr(0, pictureName.size() - 4);
}

}  // namespace tessaly
