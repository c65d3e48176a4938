#pragma once

namespace tessaly {

// The three check boxes of the window. Each counts as set only when ticked.
struct RenameOptions {
  bool dateDirectories = true;  // move each picture into a sub-directory named after its date
  bool makerPrefix = false;     // put the maker's name in front of the new name
  bool modelPrefix = false;     // put the model's name in front of the new name
};

// Where the options are read from. They are read afresh at each point that
// needs one, never copied at the start of a run, so that a box changed during
// a run applies from its next reading on.
class OptionSource {
 public:
  virtual ~OptionSource() = default;
  virtual RenameOptions ReadOptions() = 0;
};

// Options that never change, as a command line gives them.
class FixedOptions final : public OptionSource {
 public:
  explicit FixedOptions(RenameOptions options) : options_(options) {}
  RenameOptions ReadOptions() override { return options_; }

 private:
  RenameOptions options_;
};

}  // namespace tessaly
