-- expect: integer representation
local s = string.rep("x", 0/0)
