-- expect: Memory usage limit exceeded. | Execution limit exceeded.
local s = string.rep("ab", 2 ^ 30, "separator")
