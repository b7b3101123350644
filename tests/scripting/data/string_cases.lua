-- String and pattern calls whose results must equal Lua 5.2's own. Each line printed is one
-- call's results, joined by "|". Runs under lua5.2 and in the sandbox (print goes to the log).
local function show(...)
  local parts = {}
  for i = 1, select("#", ...) do parts[#parts + 1] = tostring((select(i, ...))) end
  print(table.concat(parts, "|"))
end
local s = "hello world from Lua 5.2, (nested (parens)) and [brackets] 123 456"
show(string.find(s, "o"))
show(string.find(s, "o", 6))
show(string.find(s, "o", -5))
show(string.find(s, "l+"))
show(string.find(s, "(%d+)%s+(%d+)"))
show(string.find(s, "%b()"))
show(string.find(s, "%f[%a]%a+", 7))
show(string.find(s, "(.-)%s"))
show(string.find(s, ".", 1, true))
show(string.find(s, "[", 1, true))
show(string.find(s, "", 100))
show(string.find(s, "", #s + 1))
show(string.find(s, "^hello"))
show(string.find(s, "^world"))
show(string.find(s, "456$"))
show(string.find(s, "()or()"))
show(string.find("aaa", "a-b"))
show(string.find("aaab", "a-b"))
show(string.find("a+b", "+", 1, true))
show(string.find("x", "x?x?x"))
show(string.match(s, "(%a+) (%a+)"))
show(string.match(s, "%[(.-)%]"))
show(string.match(s, "((%d)(%d))"))
show(string.match("key = value", "(%w+)%s*=%s*(%w+)"))
show(string.match("2024-01-31", "(%d+)-(%d+)-(%d+)"))
show(string.match("  trim  ", "^%s*(.-)%s*$"))
show(string.match("abcabc", "(abc)%1"))
show(string.match("THE (quick) fox", "%u+"))
show(string.match("f(a(b)c)d", "%b()"))
show(string.match("[[x]]", "[]]+"))
show(string.match("a-b-c", "[a-]+"))
show(string.match("^caret", "[%^c]+"))
show(string.match("x=1, y=2", "()y"))
show(string.match("", ".*"))
show(string.match("abc", "[^b]+", 2))
show(string.gsub(s, "o", "0"))
show(string.gsub(s, "%w+", "<%0>", 3))
show(string.gsub(s, "(%w+) (%w+)", "%2 %1"))
show(string.gsub("abc", "", "-"))
show(string.gsub("hello", "l*", "L"))
show(string.gsub("abc", "%w", { a = "1", b = 2, c = false }))
show(string.gsub("abc", "%w", function(c) if c == "b" then return nil end return c:upper() end))
show(string.gsub("$1.50 %", "%%", "%%%%"))
show(string.gsub("one two", "(%w+)", "%1%1"))
show(string.gsub("abc", "^a", "X"))
show(string.gsub("aaa", "a", "b", 0))
show(string.gsub("x y z", "%s", "_", 1.5))
local words = {}
for w in string.gmatch(s, "%a+") do words[#words + 1] = w end
show(table.concat(words, ","))
local pairsSeen = {}
for k, v in string.gmatch("a=1, b=2, c=3", "(%w+)=(%w+)") do pairsSeen[#pairsSeen + 1] = k .. v end
show(table.concat(pairsSeen, ","))
local empties = {}
for m in string.gmatch("abc", "a*") do empties[#empties + 1] = "[" .. m .. "]" end
show(table.concat(empties))
local anchored = {}
for m in string.gmatch("^a^b", "^%a") do anchored[#anchored + 1] = m end
show(table.concat(anchored, ","))
local positions = {}
for p in string.gmatch("banana", "()a") do positions[#positions + 1] = p end
show(table.concat(positions, ","))
show(string.rep("ab", 3), string.rep("ab", 3, ","), string.rep("x", 0), string.rep("x", -1))
show(#string.rep("abc", 1000, "--"))
local t = { 5, 3, 9, 1, 7, 2, 8, 6, 4, 10, 0 }
table.sort(t)
show(table.concat(t, " "))
table.sort(t, function(a, b) return a > b end)
show(table.concat(t, " "))
local names = { "pear", "Apple", "fig", "banana", "apple" }
table.sort(names)
show(table.concat(names, " "))
show(table.concat({ 1, 2, "x", 4.5 }, "-"), table.concat({}, ","), table.concat({ "a", "b", "c" }, ",", 2, 3))
show(table.concat({ "a", "b" }, ",", 3, 2))
