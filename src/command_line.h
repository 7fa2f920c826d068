#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelkwardt {

/// The arguments after the program's own word in a command line given as one string: words separated
/// by blanks and tabs; a double quote opens or closes a stretch in which blanks belong to the word;
/// backslash-quote is a literal quote; every other backslash, asterisk and question mark stays as it is.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace pelkwardt
