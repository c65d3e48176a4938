#include "cli/CliFrontEnd.h"

#include "cli/TerminalText.h"

namespace tessaly {

void CliFrontEnd::ShowDirectory(std::string_view directory) {
  directory_.assign(directory);
  DrawProgress();
}

void CliFrontEnd::ShowCount(std::int64_t renameCount) {
  count_ = renameCount;
  DrawProgress();
}

void CliFrontEnd::ReportProblem(const Problem& problem) {
  ++problems_;
  EndProgress();
  err_ << "tessaly-cli: " << TerminalText(problem.path) << ": " << TerminalText(problem.reason)
       << "\n";
  err_.flush();
}

void CliFrontEnd::DrawProgress() {
  if (!showProgress_) return;
  auto now = std::chrono::steady_clock::now();
  if (progressShown_ && now - lastDrawn_ < std::chrono::milliseconds(100)) return;
  lastDrawn_ = now;
  std::string shown = TerminalText(directory_);
  constexpr std::size_t kWidth = 60;
  if (shown.size() > kWidth) shown = "..." + shown.substr(shown.size() - kWidth + 3);
  err_ << "\r\x1b[K" << count_ << " renamed  " << shown;
  err_.flush();
  progressShown_ = true;
}

void CliFrontEnd::EndProgress() {
  if (!progressShown_) return;
  err_ << "\r\x1b[K";
  err_.flush();
  progressShown_ = false;
}

}  // namespace tessaly
