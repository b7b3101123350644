-- expect: Execution limit exceeded.
string.find(string.rep("a", 50000), string.rep("a*", 20) .. "b")
