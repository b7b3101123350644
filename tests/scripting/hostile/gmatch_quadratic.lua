-- expect: Execution limit exceeded.
for m in string.gmatch(string.rep("a", 200000), "a-b") do end
