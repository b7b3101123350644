-- expect: Memory usage limit exceeded. | Execution limit exceeded.
local s = string.rep("a", 8000000)
local r = string.gsub("abcdefghijklmnop", "%w", s)
