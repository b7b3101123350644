-- expect: Memory usage limit exceeded.
local function f() return 1 + f() end
f()
