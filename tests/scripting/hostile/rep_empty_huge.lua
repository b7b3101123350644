-- expect: contained
local s = string.rep("", 2 ^ 52)
assert(s == "")
error("contained")
