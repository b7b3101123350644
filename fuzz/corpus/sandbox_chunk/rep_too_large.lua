-- expect: resulting string too large
local s = string.rep("abcdefgh", 2 ^ 52)
