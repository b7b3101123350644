-- expect: invalid
string.format("%099999d", 1)
