#include "utils/process_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvt {
namespace {

struct SplitCase {
  const char* line;
  std::vector<std::string> arguments;
};

TEST(CommandLineTest, SplitsOnBlanksOutsideQuotes) {
  const SplitCase cases[] = {
      {"", {}},
      {"   \t ", {}},
      {"cat", {"cat"}},
      {"  sh  -c\t\"exit 3\"  ", {"sh", "-c", "exit 3"}},
      {"prog \"/a b/c d.kvt\" x", {"prog", "/a b/c d.kvt", "x"}},
      {"prog \"\" x", {"prog", "", "x"}},
      {"a\"b c\"d", {"ab cd"}},
      {"prog \"open to the end", {"prog", "open to the end"}},
      {"prog 'single quotes' group nothing", {"prog", "'single", "quotes'", "group", "nothing"}},
      {"prog $HOME *.kvt >out", {"prog", "$HOME", "*.kvt", ">out"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(SplitCommandLine(c.line), c.arguments);
  }
}

TEST(CommandLineTest, BackslashesMatterOnlyBeforeAQuote) {
  const SplitCase cases[] = {
      {R"(a\b c\\d)", {R"(a\b)", R"(c\\d)"}},
      {R"(say \"hi\")", {"say", R"("hi")"}},
      {R"("a \"quoted\" word")", {R"(a "quoted" word)"}},
      {R"(x\\"a b")", {R"(x\a b)"}},     // two backslashes: one, then a grouping quote
      {R"(x\\\"a b)", {R"(x\"a)", "b"}},  // three: one and a literal quote
      {R"(end\)", {R"(end\)"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(SplitCommandLine(c.line), c.arguments);
  }
}

}  // namespace
}  // namespace kvt
