-- expect: Execution limit exceeded.
utf8string.find(string.rep("\195\169", 50000), string.rep("\195\169*", 20) .. "b")
