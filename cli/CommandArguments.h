#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// How many operands a command takes.
enum class Operands {
  AnyNumber,  // empty ones too
  AtMostOne,  // and not an empty one
};

// What a command of tessaly-cli accepts after its name.
struct CommandSyntax {
  std::string_view name;   // "rename"
  std::string_view usage;  // written with every usage error, and for --help
  std::span<const std::string_view> flags;
  std::string_view valueOption = {};   // an option followed by its value ("--list")
  std::string_view valueMissing = {};  // why, when that value is missing or empty
  Operands operands = Operands::AnyNumber;
  std::string_view tooMany = {};  // why, for an operand more than AtMostOne
};

// The arguments read: the flags given (of the command's own), the value of
// its value option (empty when not given), the operands in order; or the
// exit status when the command ends here.
struct CommandArguments {
  std::optional<int> exitStatus;
  std::set<std::string, std::less<>> flags;
  std::string value;
  std::vector<std::string> operands;

  bool Has(std::string_view flag) const { return flags.count(flag) > 0; }
};

// Reads `arguments` in order, the one way every command reads them: options
// until "--", then operands only; "--help" or "-h" writes the usage to `out`
// (exit status 0); an unknown option, a missing value or an operand too many
// is a usage error, written to `err` as UsageError does.
CommandArguments ReadCommandArguments(std::span<const std::string> arguments,
                                      const CommandSyntax& syntax, std::ostream& out,
                                      std::ostream& err);

// Writes "tessaly-cli NAME: WHY" and the usage to `err`; the exit status of
// a usage error.
int UsageError(const CommandSyntax& syntax, std::string_view why, std::ostream& err);

}  // namespace tessaly
