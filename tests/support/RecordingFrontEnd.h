#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/FrontEnd.h"

namespace tessaly::test {

// A front end for tests: options as set, every call written down in order,
// replace questions answered by a fixed rule, and a stop after a chosen
// number of hand-overs.
class RecordingFrontEnd final : public FrontEnd {
 public:
  RenameOptions options;
  ReplaceAnswer replaceAnswer = ReplaceAnswer::Keep;
  int stopAfterHandOvers = -1;                         // never when negative
  std::function<void(RecordingFrontEnd&)> onHandOver;  // runs inside each hand-over

  std::vector<std::string> events;  // "dir <path>", "picture <name> <new>", "count <n>", "handover"
  std::vector<std::string> directories;
  std::vector<ShownPicture> pictures;
  std::vector<ReplaceQuestion> questions;
  std::vector<Problem> problems;
  int handOvers = 0;
  int optionReads = 0;

  RenameOptions ReadOptions() override {
    ++optionReads;
    return options;
  }
  void ShowDirectory(std::string_view directory) override {
    directories.emplace_back(directory);
    events.push_back("dir " + std::string(directory));
  }
  void ShowPicture(const ShownPicture& picture) override {
    pictures.push_back(picture);
    events.push_back("picture " + picture.FileName + " " + picture.NewName);
  }
  void ShowCount(std::int64_t renameCount) override {
    events.push_back("count " + std::to_string(renameCount));
  }
  RunControl HandOver() override {
    ++handOvers;
    events.emplace_back("handover");
    if (onHandOver) onHandOver(*this);
    return stopAfterHandOvers >= 0 && handOvers >= stopAfterHandOvers ? RunControl::Stop
                                                                      : RunControl::Continue;
  }
  ReplaceAnswer AskReplace(const ReplaceQuestion& question) override {
    questions.push_back(question);
    return replaceAnswer;
  }
  void ReportProblem(const Problem& problem) override { problems.push_back(problem); }

  bool HasProblem(ProblemKind kind) const {
    for (const Problem& p : problems) {
      if (p.kind == kind) return true;
    }
    return false;
  }
};

}  // namespace tessaly::test
