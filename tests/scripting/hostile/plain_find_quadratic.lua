-- expect: Execution limit exceeded.
local hay = string.rep("a", 4000000)
for i = 1, 100 do string.find(hay, string.rep("a", 100000) .. "b", 1, true) end
