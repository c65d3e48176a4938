#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/BuildNewName.h"
#include "core/ReadPictureInfo.h"
#include "tests/support/MemoryFile.h"

namespace tessaly {

// How the fuzzer (and the regression test that replays what it found) reads
// one input: the first byte picks the options (bits 0-2) and, with bit 7
// set, reads of (bits 3-6) * 8 + 1 bytes at a time; the rest is the file.
struct FuzzOutcome {
  ReadResult read;
  NewNameParts name;
  bool usable = false;
};

inline FuzzOutcome ReadFuzzInput(std::span<const std::uint8_t> input) {
  FuzzOutcome outcome;
  if (input.empty()) return outcome;
  const std::uint8_t control = input[0];
  std::size_t chunk = (control & 0x80) != 0 ? (control & 0x78) + 1u : SIZE_MAX;
  MemoryFile file(input.subspan(1), chunk);
  outcome.read = ReadPictureInfo(file);
  KeepAskedTexts(outcome.read.info,
                 RenameOptions{(control & 1) != 0, (control & 2) != 0, (control & 4) != 0});
  if (outcome.read.info.headerAccepted) {
    outcome.name = BuildNewName(outcome.read.info);
    outcome.usable = IsUsableName(outcome.read.info, outcome.name.newName);
  }
  return outcome;
}

}  // namespace tessaly
