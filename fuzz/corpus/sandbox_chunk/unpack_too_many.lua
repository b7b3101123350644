-- expect: too many results to unpack
table.unpack({}, 1, 1e8)
