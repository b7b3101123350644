-- expect: Execution limit exceeded.
local t = {}
for i = 1, 1000000 do t[i] = -i end
table.sort(t)
while true do end
