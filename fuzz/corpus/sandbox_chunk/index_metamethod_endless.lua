-- expect: Execution limit exceeded.
local t = setmetatable({}, {__index = function(t, k) while true do end end})
local v = t.x
