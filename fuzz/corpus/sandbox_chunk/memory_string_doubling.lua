-- expect: Memory usage limit exceeded. | Execution limit exceeded.
local s = "x"
while true do s = s .. s end
