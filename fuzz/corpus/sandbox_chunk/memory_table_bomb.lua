-- expect: Memory usage limit exceeded. | Execution limit exceeded.
local t = {}
while true do t[#t + 1] = string.rep("x", 1000000) .. #t end
