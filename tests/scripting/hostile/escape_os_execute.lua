-- expect: a nil value
os.execute("true")
