#include "command_line.h"

namespace pelkwardt {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The position after the program's word: a quoted word ends at its closing quote, any other at a blank.
std::size_t SkipProgramWord(std::string_view line) {
  std::size_t pos = 0;
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  if (pos < line.size() && line[pos] == '"') {
    const std::size_t closing = line.find('"', pos + 1);
    return closing == std::string_view::npos ? line.size() : closing + 1;
  }
  while (pos < line.size() && !IsBlank(line[pos])) ++pos;
  return pos;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> arguments;
  std::size_t pos = SkipProgramWord(line);
  while (true) {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos == line.size()) return arguments;
    std::string& argument = arguments.emplace_back();
    bool quoted = false;
    for (; pos < line.size(); ++pos) {
      const char c = line[pos];
      if (c == '\\' && pos + 1 < line.size() && line[pos + 1] == '"') {
        argument.push_back('"');
        ++pos;
      } else if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && IsBlank(c)) {
        break;
      } else {
        argument.push_back(c);
      }
    }
  }
}

}  // namespace pelkwardt
