-- expect: a nil value
local co = coroutine.wrap(function() while true do coroutine.yield() end end)
