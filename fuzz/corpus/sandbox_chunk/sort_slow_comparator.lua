-- expect: Execution limit exceeded.
local t = {}
for i = 1, 200000 do t[i] = (i * 7919) % 200000 end
table.sort(t, function(a, b) local x = 0 for k = 1, 50 do x = x + k end return a < b end)
