-- expect: contained
local mt = getmetatable(kvt.ntnidx)
if type(mt) == "table" then mt.__index.find = nil end
local mt2 = getmetatable(kvt.txt)
if type(mt2) == "table" then mt2.__index.ClefType = nil end
error("contained")
