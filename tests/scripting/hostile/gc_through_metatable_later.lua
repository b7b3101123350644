-- expect: contained
local mt = {}
local t = setmetatable({}, mt)
mt.__gc = function() while true do end end
t = nil
local junk = {}
for i = 1, 20000 do junk[i] = {i} end
error("contained")
