-- expect: invalid object
local step = pairs(kvt)
step(kvt.ntnidx, nil)
