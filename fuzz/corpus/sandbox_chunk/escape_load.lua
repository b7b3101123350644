-- expect: a nil value
load("x = 1")()
