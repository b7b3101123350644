-- expect: contained
local t = {}
for i = 1, 1000 do t[i] = i end
table.sort(t, function(a, b) return true end)
table.sort(t, function(a, b) return math.random() < 0.5 end)
error("contained")
