-- expect: Memory usage limit exceeded.
local s = string.rep("a", 16000000)
s = string.gsub(s, ".+", "%0%0%0%0")
