-- expect: Execution limit exceeded.
utf8string.gsub(string.rep("\195\169", 200000), ".-b", "")
