-- expect: Execution limit exceeded.
string.find(string.rep("a", 1000000), ".-.-.-.-.-b")
