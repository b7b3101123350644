-- expect: table expected
setmetatable(string, {})
