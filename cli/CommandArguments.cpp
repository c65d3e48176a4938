#include "cli/CommandArguments.h"

#include <algorithm>

#include "cli/TerminalText.h"

namespace tessaly {

int UsageError(const CommandSyntax& syntax, std::string_view why, std::ostream& err) {
  err << "tessaly-cli " << syntax.name << ": " << why << "\n" << syntax.usage;
  return 2;
}

CommandArguments ReadCommandArguments(std::span<const std::string> arguments,
                                      const CommandSyntax& syntax, std::ostream& out,
                                      std::ostream& err) {
  CommandArguments read;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool option = !optionsEnded && argument.size() > 1 && argument[0] == '-';
    if (option && (argument == "--help" || argument == "-h")) {
      out << syntax.usage;
      read.exitStatus = 0;
      return read;
    } else if (option && argument == "--") {
      optionsEnded = true;
    } else if (option && std::ranges::find(syntax.flags, argument) != syntax.flags.end()) {
      read.flags.insert(argument);
    } else if (option && argument == syntax.valueOption) {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        read.exitStatus = UsageError(syntax, syntax.valueMissing, err);
        return read;
      }
      read.value = arguments[++i];
    } else if (option) {
      read.exitStatus = UsageError(syntax, "unknown option " + TerminalText(argument), err);
      return read;
    } else if (syntax.operands == Operands::AnyNumber ||
               (read.operands.empty() && !argument.empty())) {
      read.operands.push_back(argument);
    } else {
      read.exitStatus = UsageError(syntax, syntax.tooMany, err);
      return read;
    }
  }
  return read;
}

}  // namespace tessaly
