-- expect: Memory usage limit exceeded. | Execution limit exceeded.
local function f() return 1 + f() end
f()
