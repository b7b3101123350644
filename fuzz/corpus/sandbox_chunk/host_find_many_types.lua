-- expect: Invalid user object context
kvt.ntnidx:find("next", "objType", "Note", "Note", "Note", "Note", "Note", "Note", "Note", "Note", "Note", "Note", "Note", "Note", "Note", "Note", "Note", "Note")
