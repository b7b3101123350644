-- expect: cannot change a protected metatable
local t = setmetatable({}, {__metatable = "locked"})
setmetatable(t, {})
