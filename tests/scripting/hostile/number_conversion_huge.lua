-- expect: out of range
string.rep("x", 1e300)
