-- expect: is protected
_G.io = {}
