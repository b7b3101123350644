-- expect: a nil value
local mt = getmetatable("")
mt.__index.upper = function() return "owned" end
