// SplitCommandLine on any bytes, against a reference splitter written from the rules as a per-byte
// state machine. Beyond equality: the words never hold more bytes than the line, a quote in a word
// always comes from a backslash-quote, and quoting each word back by the rules and splitting again
// gives the same words.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "fuzz_check.h"

namespace {

using Words = std::vector<std::string>;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

Words ReferenceSplit(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i < line.size() && line[i] == '"') {
    ++i;
    while (i < line.size() && line[i] != '"') ++i;
    if (i < line.size()) ++i;  // the closing quote belongs to the program's word
  } else {
    while (i < line.size() && !IsBlank(line[i])) ++i;
  }

  Words words;
  std::optional<std::string> word;  // set while a word is open
  bool inQuotes = false;
  for (; i < line.size(); ++i) {
    const char c = line[i];
    const bool escapedQuote = c == '\\' && i + 1 < line.size() && line[i + 1] == '"';
    if (!inQuotes && IsBlank(c)) {
      if (word) words.push_back(*word);
      word.reset();
      continue;
    }
    if (!word) word.emplace();
    if (escapedQuote) {
      word->push_back('"');
      ++i;
    } else if (c == '"') {
      inQuotes = !inQuotes;
    } else {
      word->push_back(c);
    }
  }
  if (word) words.push_back(*word);
  return words;
}

// A word quoted so that the rules give it back: inside quotes, each quote as backslash-quote; trailing
// backslashes after the closing quote, where no quote follows them.
std::string Quote(const std::string& word) {
  const std::size_t end = word.find_last_not_of('\\') + 1;  // 0 when the word is only backslashes
  std::string quoted = "\"";
  for (std::size_t i = 0; i < end; ++i) {
    if (word[i] == '"') quoted.push_back('\\');
    quoted.push_back(word[i]);
  }
  quoted.push_back('"');
  quoted.append(word, end, std::string::npos);
  return quoted;
}

std::size_t Count(std::string_view text, std::string_view piece) {
  std::size_t count = 0;
  for (std::size_t at = text.find(piece); at != std::string_view::npos; at = text.find(piece, at + piece.size())) {
    ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using pelkwardt_fuzz::Require;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const Words words = pelkwardt::SplitCommandLine(line);

  Require(words == ReferenceSplit(line), "the same words as the reference splitter");
  std::size_t bytes = 0;
  std::size_t quotes = 0;
  for (const std::string& word : words) {
    bytes += word.size();
    quotes += Count(word, "\"");
  }
  Require(bytes + words.size() <= size, "no more bytes than the line, one at least per word");
  Require(quotes <= Count(line, "\\\""), "every quote in a word comes from a backslash-quote");

  std::string rejoined = "p";
  for (const std::string& word : words) rejoined += " " + Quote(word);
  Require(pelkwardt::SplitCommandLine(rejoined) == words, "quoting the words back reproduces them");
  return 0;
}
