-- expect: __gc metamethods are not allowed
setmetatable({}, {__gc = function() error("boom") end})
collectgarbage()
