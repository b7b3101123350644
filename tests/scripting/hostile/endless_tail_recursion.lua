-- expect: Execution limit exceeded.
local function f() return f() end
f()
