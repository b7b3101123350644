// The checked string and table functions and utf8string, against lua5.2's own string library.

#include <fstream>
#include <sstream>

#include "tests/scripting/lua_peer.h"
#include "tests/scripting/sandbox_fixture.h"

namespace kvt::test {
namespace {

std::string ReadData(const char* name) {
  std::ifstream in(std::string(KVT_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

TEST_F(SandboxTest, PatternAndTableFunctionsGiveLua52Results) {
  const std::string script = ReadData("string_cases.lua");
  ASSERT_FALSE(script.empty());
  const TLuaPeerResult peer = RunLuaPeer(script);
  ASSERT_EQ(peer.exitCode, 0) << peer.firstErrorLine;
  EXPECT_EQ(Run(script), "");
  EXPECT_EQ(log.lines, SplitLines(peer.out));
}

TEST_F(SandboxTest, PatternAndTableErrorsGiveLua52Messages) {
  for (const std::string& line : SplitLines(ReadData("string_errors.lua"))) {
    if (line.empty() || line.rfind("--", 0) == 0) continue;
    const TLuaPeerResult peer = RunLuaPeer(line);
    std::string expected = peer.firstErrorLine;
    // "lua5.2: /tmp/.../peer.lua:1: message" -> "message"
    expected = expected.substr(expected.find(":1: ") + 4);
    std::string error;
    ASSERT_NE(host->RunText(line, "=peer", nullptr, 0, &error), 0) << line;
    EXPECT_EQ(error.substr(error.find(":1: ") + 4), expected) << line;
  }
}

TEST_F(SandboxTest, Utf8StringCountsCharactersAndKeepsBadBytes) {
  struct Case {
    const char* expression;
    const char* expected;
  } cases[] = {
      {"utf8string.len('h\\195\\169llo')", "5"},
      {"utf8string.len('a\\255b\\195')", "4"},  // a bad byte, and a cut sequence, are one each
      {"utf8string.sub('h\\195\\169llo', 2, 3)", "\xc3\xa9l"},
      {"utf8string.sub('h\\195\\169llo', -2)", "lo"},
      {"utf8string.upper('stra\\195\\159e \\195\\169t\\195\\169')", "STRA\xc3\x9f" "E \xc3\x89T\xc3\x89"},
      {"utf8string.lower('\\195\\137\\206\\163')", "\xc3\xa9\xcf\x83"},
      {"utf8string.reverse('a\\195\\169\\255b')", "b\xff\xc3\xa9" "a"},
      {"table.concat({utf8string.byte('\\195\\169\\226\\130\\172', 1, -1)}, ',')", "233,8364"},
      {"utf8string.byte('\\255')", "56575"},
      {"utf8string.char(72, 233, 8364, 56575)", "H\xc3\xa9\xe2\x82\xac\xff"},
      {"utf8string.find('d\\195\\169j\\195\\160 vu', 'vu')", "6"},
      {"table.concat({utf8string.find('\\195\\169t\\195\\169', '(t)()')}, ',')", "2,2,t,3"},
      {"utf8string.match('caf\\195\\169 au lait', '%a+')", "caf\xc3\xa9"},
      {"utf8string.gsub('\\195\\169\\195\\168', '.', '[%0]')", "[\xc3\xa9][\xc3\xa8]"},
      {"utf8string.gsub('a\\255b', '.', '<%0>')", "<a><\xff><b>"},
      {"utf8string.match('x\\195\\169\\195\\169y', '\\195\\169+')", "\xc3\xa9\xc3\xa9"},
      {"utf8string.match('\\226\\130\\172', '[\\195\\128-\\239\\191\\191]')", "\xe2\x82\xac"},
      {"utf8string.insert('ac', 2, '\\195\\169')", "a\xc3\xa9" "c"},
      {"utf8string.insert('ab', 'c')", "abc"},
      {"utf8string.remove('a\\195\\169c')", "a\xc3\xa9"},
      {"utf8string.remove('a\\195\\169cd', 2, 3)", "ad"},
      {"utf8string.escape('%233 %{8364} %u{72}%x41 %% %x{e9}')", "\xc3\xa9 \xe2\x82\xac HA % \xc3\xa9"},
      {"utf8string.ncasecmp('\\195\\137t\\195\\169', '\\195\\169T\\195\\137')", "0"},
      {"utf8string.ncasecmp('a', 'B')", "-1"},
      {"utf8string.width('a\\228\\184\\173\\204\\129')", "3"},  // CJK wide, combining mark 0
      {"utf8string.width(0x4E2D)", "2"},
      {"table.concat({utf8string.widthindex('a\\228\\184\\173b', 3)}, ',')", "2,2,2"},
      {"table.concat({utf8string.charpos('a\\195\\169b', 3)}, ',')", "4,98"},
      {"table.concat({utf8string.charpos('a\\195\\169b', 2, 1)}, ',')", "4,98"},
      {"table.concat({utf8string.next('a\\195\\169b', 1)}, ',')", "2,233"},
      {"utf8string.title('\\199\\134x')", "\xc7\x85X"},
      {"utf8string.fold('\\195\\137A')", "\xc3\xa9" "a"},
      {"utf8string.format('%d-%s', 5, '\\195\\169')", "5-\xc3\xa9"},
  };
  for (const Case& c : cases) EXPECT_EQ(Eval(c.expression), c.expected) << c.expression;
  // The walk with next visits every character once.
  EXPECT_EQ(Run("local n = 0 for pos, code in utf8string.next, 'a\\195\\169\\255' do n = n + 1 end"
                " assert(n == 3, n)"),
            "");
  EXPECT_NE(Run("utf8string.char(-1)").find("value out of range"), std::string::npos);
  EXPECT_NE(Run("utf8string.sub('x', 0/0)").find("integer"), std::string::npos);
}

TEST_F(SandboxTest, Utf8StringAgreesWithStringOnAscii) {
  EXPECT_EQ(Run(R"lua(
    local s = "The quick brown fox, 12 jumps (over) the lazy dog."
    local function same(f, ...)
      local a = table.concat({string[f](s, ...)}, "|")
      local b = table.concat({utf8string[f](s, ...)}, "|")
      assert(a == b, f .. ": " .. a .. " ~= " .. b)
    end
    same("len") same("upper") same("lower") same("reverse")
    same("sub", 5, -3) same("sub", -100, 4) same("byte", 1, 5)
    same("find", "o", 14) same("find", "(%a+) (%a+)") same("find", "%b()") same("find", ".", 1, true)
    same("match", "%d+") same("match", "(%w+),") same("gsub", "%s", "_") same("gsub", "(o)", "%1%1", 2)
  )lua"),
            "");
}

}  // namespace
}  // namespace kvt::test
