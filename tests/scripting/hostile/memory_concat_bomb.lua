-- expect: Memory usage limit exceeded. | Execution limit exceeded.
local t, s = {}, string.rep("x", 1000000)
for i = 1, 100 do t[i] = s end
local all = table.concat(t)
