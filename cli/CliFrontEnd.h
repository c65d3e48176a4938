#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

#include "engine/FrontEnd.h"

namespace tessaly {

// The command line's side of a run: the options come from the flags, every
// problem goes to `err` as a line naming the file and the reason, a file is
// never replaced, and, when `err` is a terminal, one line of progress (the
// directory and the count) is kept up to date, at most ten times a second.
// Paths are written with their control characters escaped.
class CliFrontEnd final : public FrontEnd {
 public:
  CliFrontEnd(RenameOptions options, std::ostream& err, bool showProgress)
      : options_(options), err_(err), showProgress_(showProgress) {}

  RenameOptions ReadOptions() override { return options_; }
  void ShowDirectory(std::string_view directory) override;
  void ShowPicture(const ShownPicture&) override {}
  void ShowCount(std::int64_t renameCount) override;
  RunControl HandOver() override { return RunControl::Continue; }
  ReplaceAnswer AskReplace(const ReplaceQuestion&) override { return ReplaceAnswer::Keep; }
  void ReportProblem(const Problem& problem) override;

  int Problems() const { return problems_; }
  // Clears the progress line, if one is shown.
  void EndProgress();

 private:
  void DrawProgress();

  RenameOptions options_;
  std::ostream& err_;
  bool showProgress_;
  bool progressShown_ = false;
  int problems_ = 0;
  std::string directory_;
  std::int64_t count_ = 0;
  std::chrono::steady_clock::time_point lastDrawn_{};
};

}  // namespace tessaly
