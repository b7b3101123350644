-- The built-in toolbox: no tools of its own yet. A kvttoolbox.lua in the program folder
-- replaces it.
return {}
