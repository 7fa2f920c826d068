#include "command_line.h"

#include <gtest/gtest.h>

namespace pelkwardt {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLineTest, FollowsTheToolsOwnRules) {
  const struct {
    std::string line;
    Words arguments;
  } cases[] = {
      {"", {}},
      {"PELKWARDT.EXE", {}},
      {"  PELKWARDT.EXE   ", {}},
      {"PELKWARDT.EXE ..\\..\\quardelin_php\\log\\Vorbank.LOG 5 2 10%",
       {"..\\..\\quardelin_php\\log\\Vorbank.LOG", "5", "2", "10%"}},
      {"\"C:\\Program Files\\PELKWARDT.EXE\" a b", {"a", "b"}},
      {"\"C:\\Program Files\\PELKWARDT.EXE\"a b", {"a", "b"}},
      {"\"unterminated program word", {}},
      {"p \t a\t\tb \t", {"a", "b"}},
      {"p \"mein log.LOG\" 5", {"mein log.LOG", "5"}},
      {"p ab\"c d\"ef g", {"abc def", "g"}},
      {"p \"\" x", {"", "x"}},
      {"p \"\"", {""}},
      {"p \"open stretch to the end", {"open stretch to the end"}},
      {"p a\\\"b", {"a\"b"}},
      {"p \"a \\\" b\"", {"a \" b"}},
      {"p \\\"a b", {"\"a", "b"}},
      {"p a\\\\\"b c\"", {"a\\\"b", "c"}},
      {"p C:\\dir\\\\ x\\", {"C:\\dir\\\\", "x\\"}},
      {"p *.LOG ?x", {"*.LOG", "?x"}},
      {"p \"a\"\"b\"", {"ab"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("line: " + c.line);
    EXPECT_EQ(SplitCommandLine(c.line), c.arguments);
  }
}

}  // namespace
}  // namespace pelkwardt
