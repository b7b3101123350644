-- expect: table expected
next(kvt)
