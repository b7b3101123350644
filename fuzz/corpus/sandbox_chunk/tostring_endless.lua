-- expect: Execution limit exceeded.
print(setmetatable({}, {__tostring = function() while true do end end}))
