-- expect: Execution limit exceeded.
local t = {}
for i = 1, 1000000 do t[i] = "x" end
while true do table.concat(t) end
