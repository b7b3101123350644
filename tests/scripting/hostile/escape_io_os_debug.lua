-- expect: a nil value
local f = io.open("/etc/passwd")
