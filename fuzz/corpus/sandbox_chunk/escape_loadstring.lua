-- expect: a nil value
loadstring("x = 1")()
