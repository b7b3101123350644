-- expect: a nil value
local bytes = string.dump(function() end)
