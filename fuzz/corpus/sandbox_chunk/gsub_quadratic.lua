-- expect: Execution limit exceeded.
string.gsub(string.rep("a", 200000), "a-b", "")
