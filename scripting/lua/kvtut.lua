-- kvtut: the user-tool runtime's library. It reads the input's header, serves the input's
-- object lines as kvtItem objects, writes results, and runs the tool in an environment of its
-- own. The runtime calls this chunk with the two spellings of the score text's product word.

local productWord, otherProductWord = ...
productWord = productWord or "TarlowmedeRazadove"
otherProductWord = otherProductWord or "TarlowmedeVezeroza"

for k, v in pairs(kvttxt) do
  if kvtut[k] == nil then kvtut[k] = v end
end

local stdout, stderr = io.stdout, io.stderr
kvtut.write = function(...) return stdout:write(...) end
kvtut.stderr = stderr
function kvtut.warn(...)
  for i = 1, select("#", ...) do stderr:write(tostring((select(i, ...)))) end
end

local props = { FileName = "", SavePending = false, StartingLine = nil, EndingLine = nil,
                HdrVersion = nil, Mode = nil, ReturnMode = kvttxt.const.mode_ClipText,
                ItemsRetrieved = 0 }
local ended = false  -- the ending line has been read

function kvtut.getprop(name)
  if name == "ItemLevel" then return kvtItem.DefaultLevel end
  return props[name]
end

kvtut.setlevel = kvtItem.SetDefaultLevel

-- One write per line: the parts are joined first.
function kvtut.writeline(...)
  local parts, n = {}, 0
  local function add(...)
    for k = 1, select("#", ...) do
      n = n + 1
      parts[n] = (select(k, ...))
    end
  end
  for i = 1, select("#", ...) do
    local v = select(i, ...)
    local t = type(v)
    if t == "string" or t == "number" then
      add(v)
    elseif t == "table" and v.WriteUsing then
      v:WriteUsing(add)
    else
      add(tostring(v))
    end
  end
  n = n + 1
  parts[n] = "\n"
  stdout:write(table.concat(parts))
end

-- Whether a line is one of the two frame lines "!<word><suffix>" in either spelling.
local function IsFrame(line, suffix)
  return line:sub(1, #productWord + 1 + #suffix) == "!" .. productWord .. suffix or
         line:sub(1, #otherProductWord + 1 + #suffix) == "!" .. otherProductWord .. suffix
end

function kvtut.getitem()
  if ended then return nil end
  while true do
    local line = gzreadline()
    if line == nil then
      error("kvttxt input ended before its ending line", 0)
    end
    local kind = kvttxt.ClassifyLine(line)
    if kind == kvttxt.const.ltyp_Object then
      props.ItemsRetrieved = props.ItemsRetrieved + 1
      return kvtItem.new(line)
    elseif kind == kvttxt.const.ltyp_FormatHeader then
      -- The ending line: the rest of the input is drained.
      ended = true
      while gzreadline() do end
      return nil
    end
  end
end

function kvtut.items()
  return kvtut.getitem
end

-- The tool sees exactly these names.
local toolNames = { "_VERSION", "arg", "assert", "bit32", "error", "getmetatable", "ipairs",
                    "math", "next", "kvt", "kvtItem", "kvtNotePos", "kvtNotePosList",
                    "kvtOptGroup", "kvtOptList", "kvtOptText", "kvtPlayContext", "kvtut",
                    "pairs", "pcall", "print", "select", "setmetatable", "string", "utf8string",
                    "StringBuilder", "table", "tonumber", "tostring", "type" }

function kvtut.run(script)
  local file = assert(io.open(script, "rb"))
  local text = file:read("*a")
  file:close()
  local env = {}
  for _, name in ipairs(toolNames) do env[name] = _G[name] end
  -- Text only: the loader would run bytecode unchecked.
  local chunk = assert(load(text, "@" .. script, "t", env))
  return chunk(table.unpack(arg))
end

-- The input's header: comment lines up to the frame line.
while true do
  local line = gzreadline()
  if line == nil then error("kvttxt required header not found", 0) end
  local value = line:match("^#/File:%s*(.*)$")
  if value then props.FileName = value end
  value = line:match("^#/SavePending:%s*(.*)$")
  if value then props.SavePending = value == "Y" end
  value = line:match("^#/ReturnFormat:%s*(.*)$")
  if value then
    props.ReturnMode = value == "FileText" and kvttxt.const.mode_FileText or kvttxt.const.mode_ClipText
  end
  if line:sub(1, 1) == "!" then
    if IsFrame(line, "Clip(") then
      props.Mode = kvttxt.const.mode_ClipText
      props.HdrVersion = line:match("%(([^,)]*)")
      props.StartingLine = line
      props.EndingLine = "!" .. line:match("^!(%a+)Clip%(") .. "Clip-End"
      break
    elseif IsFrame(line, "(") then
      props.Mode = kvttxt.const.mode_FileText
      props.HdrVersion = line:match("%(([^,)]*)")
      props.StartingLine = line
      props.EndingLine = "!" .. line:match("^!(%a+)%(") .. "-End"
      break
    end
  end
end
