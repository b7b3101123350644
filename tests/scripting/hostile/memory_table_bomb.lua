-- expect: Memory usage limit exceeded.
local t = {}
while true do t[#t + 1] = {1, 2, 3, 4} end
