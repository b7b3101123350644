-- expect: Invalid kvtplay context
kvtplay.note(0, 10, 60)
