-- expect: a nil value
rawset(_G, "x", 1)
