-- expect: is protected
local _, t = pairs(string)
t.find = nil
