-- expect: Invalid user object creation context
kvtui.prompt("x", "#")
