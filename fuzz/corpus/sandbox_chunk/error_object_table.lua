-- expect: General script failure
error(setmetatable({}, {__tostring = function() while true do end end}))
