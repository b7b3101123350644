-- expect: kvt.ntnidx expected
kvt.ntnidx.objType(kvt)
