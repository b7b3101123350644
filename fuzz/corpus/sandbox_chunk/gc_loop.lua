-- expect: __gc metamethods are not allowed
for i = 1, 10 do setmetatable({}, {__gc = function() while true do end end}) end
