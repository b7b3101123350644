-- expect: Execution limit exceeded.
string.match(string.rep("(", 300000), "%b()")
