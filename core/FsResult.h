#pragma once

#include <system_error>
#include <utility>
#include <variant>

namespace tessaly {

// The outcome of one file-system call: a value, or the system's reason for
// failing. Expected failures (a missing file, a denied directory) travel as
// values; nothing in the file-system layer throws.
template <typename T>
class FsResult {
 public:
  FsResult(T value) : state_(std::move(value)) {}     // NOLINT(google-explicit-constructor)
  FsResult(std::error_code error) : state_(error) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return std::holds_alternative<T>(state_); }

  // Only valid when ok().
  T& value() { return std::get<T>(state_); }
  const T& value() const { return std::get<T>(state_); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  // The reason for the failure; an empty code when ok().
  std::error_code error() const {
    if (const auto* e = std::get_if<std::error_code>(&state_)) {
      return *e;
    }
    return {};
  }

 private:
  std::variant<T, std::error_code> state_;
};

}  // namespace tessaly
