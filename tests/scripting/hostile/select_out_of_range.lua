-- expect: out of range
select(-1e10, 1)
