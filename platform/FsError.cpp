#include "platform/FsError.h"

#include <string>

namespace tessaly {
namespace {

class Category final : public std::error_category {
 public:
  const char* name() const noexcept override { return "tessaly"; }
  std::string message(int value) const override {
    switch (static_cast<FsError>(value)) {
      case FsError::NotRegularFile:
        return "not a regular file";
      case FsError::SymbolicLink:
        return "a symbolic link, which is not followed";
      case FsError::InUse:
        return "another run is using it";
      case FsError::ForeignContent:
        return "it holds something else, so it is left as it is";
      case FsError::HeldByAnotherProgram:
        return "another program has it open and shares it with no one";
      case FsError::ReplacedSinceRead:
        return "another file took its name after it was read, so it was not moved";
    }
    return "unknown error";
  }
};

}  // namespace

const std::error_category& FsErrorCategory() {
  static const Category category;
  return category;
}

}  // namespace tessaly
