-- expect: a nil value
debug.getregistry()
