#include <windows.h>

#include "platform/FsError.h"
#include "platform/windows/WindowsError.h"

namespace tessaly {

std::error_code WindowsError(unsigned long code) {
  if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) {
    return make_error_code(FsError::HeldByAnotherProgram);
  }
  int value = static_cast<int>(code);
  std::error_condition condition = std::system_category().default_error_condition(value);
  if (condition.category() == std::generic_category()) {
    return {condition.value(), std::generic_category()};
  }
  return {value, std::system_category()};
}

std::error_code LastWindowsError() {
  return WindowsError(GetLastError());
}

}  // namespace tessaly
