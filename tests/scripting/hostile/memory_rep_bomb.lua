-- expect: Memory usage limit exceeded.
local s = string.rep("x", 2 ^ 40)
