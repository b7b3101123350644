-- expect: Execution limit exceeded.
while true do end
