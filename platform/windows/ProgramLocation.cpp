#include <windows.h>

#include "platform/ProgramLocation.h"
#include "platform/windows/WideText.h"

namespace tessaly {
namespace {

// A path as a user reads it: without the "\\?\" that lifts the length limit.
std::string WithoutLongPrefix(std::string path) {
  if (path.starts_with("\\\\?\\UNC\\")) return "\\\\" + path.substr(8);
  if (path.starts_with("\\\\?\\")) return path.substr(4);
  return path;
}

}  // namespace

std::string ExecutableDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  std::string utf8 = WithoutLongPrefix(Utf8FromWide(path));
  std::size_t slash = utf8.find_last_of('\\');
  return slash == std::string::npos ? std::string() : utf8.substr(0, slash);
}

std::string UserStateDirectory() {
  // %LOCALAPPDATA%: the user's own, not roaming, application data.
  DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
  if (n == 0) return {};
  std::wstring value(n, L'\0');
  n = GetEnvironmentVariableW(L"LOCALAPPDATA", value.data(), n);
  value.resize(n);
  std::string utf8 = Utf8FromWide(value);
  bool absolute = (utf8.size() >= 3 && utf8[1] == ':' && (utf8[2] == '\\' || utf8[2] == '/')) ||
                  utf8.starts_with("\\\\");
  if (!absolute) return {};
  while (!utf8.empty() && (utf8.back() == '\\' || utf8.back() == '/'))
    utf8.pop_back();
  return utf8 + "\\Tessaly";
}

}  // namespace tessaly
