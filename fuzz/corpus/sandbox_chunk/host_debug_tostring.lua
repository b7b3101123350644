-- expect: must return a string
kvt.debug(setmetatable({}, {__tostring = function() return {} end}))
