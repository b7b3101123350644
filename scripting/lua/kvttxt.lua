-- kvttxt: reading and writing the score text format, one record line at a time.
-- Runs in the user-tool runtime and under any plain Lua 5.2: it needs only the base, string,
-- table and math libraries, and it defines its names as globals.

kvttxt = {}

-- A read-only view of t: assignments raise an error, pairs walks t.
function kvttxt.ProtectTable(t)
  return setmetatable({}, {
    __index = t,
    __newindex = function(_, k, v)
      error("kvttxt constant change " .. tostring(k) .. " to " .. tostring(v), 2)
    end,
    __pairs = function() return next, t, nil end,
    __len = function() return #t end,
  })
end

kvttxt.const = kvttxt.ProtectTable({
  mode_ClipText = 1, mode_FileText = 2,
  rc_Success = 0, rc_Error = 1, rc_Report = 99,
  ltyp_Error = 0, ltyp_FormatHeader = 1, ltyp_Comment = 2, ltyp_Object = 3,
  objtyp_Error = 0, objtyp_FileProperty = 1, objtyp_StaffProperty = 2, objtyp_StaffLyric = 3,
  objtyp_StaffNotation = 4,
  opt_Raw = 1, opt_Num = 2, opt_Text = 3, opt_List = 4, opt_Associative = 5, opt_NotePos = 6,
})
local const = kvttxt.const

-- Trims blanks at both ends; texts without them come back at once.
local function Trim(text)
  if text:find("^%s") or text:find("%s$") then return text:match("^%s*(.-)%s*$") end
  return text
end


local function Set(list)
  local s = {}
  for _, v in ipairs(list) do s[v] = true end
  return s
end

-- Diatonic steps from C0 to the middle staff line of each clef.
local clefCenter = { Treble = 34, Bass = 22, Alto = 28, Tenor = 26, Drum = 22 }

function kvttxt.GetClefStdCenterTone(clef)
  return clefCenter[clef] or clefCenter.Treble
end

local accidentalOfOffset = { [-2] = "v", [-1] = "b", [0] = "n", [1] = "#", [2] = "x" }
local offsetOfAccidental = { v = -2, b = -1, n = 0, ["#"] = 1, x = 2 }

function kvttxt.GetOffsetAccidental(n) return accidentalOfOffset[n] end
function kvttxt.GetAccidentalOffset(a) return offsetOfAccidental[a] or 0 end
function kvttxt.AllNoteNames() return { "C", "D", "E", "F", "G", "A", "B" } end
function kvttxt.AllAccidentals() return { "v", "b", "n", "#", "x" } end

local noteNames = kvttxt.AllNoteNames()
local noteSemitones = { C = 0, D = 2, E = 4, F = 5, G = 7, A = 9, B = 11 }

function kvttxt.ClassifyLine(line)
  local first = line:sub(1, 1)
  if first == "" or first == "#" then return const.ltyp_Comment end
  if first == "!" then return const.ltyp_FormatHeader end
  if first == "|" then return const.ltyp_Object end
  return const.ltyp_Error
end

function kvttxt.objtyp(line)
  local word = line:match("^|([^|]*)")
  return word and Trim(word)
end

local staffNotationTypes = Set({ "Note", "Chord", "Bar", "Rest", "Text", "Dynamic", "Clef", "Key",
                                 "TimeSig" })
local staffPropertyTypes = Set({ "Locale", "Editor", "SongInfo", "PgSetup", "Font", "PgMargins",
                                 "AddStaff", "StaffProperties", "StaffInstrument" })

function kvttxt.ClassifyObjType(objtype)
  if objtype == nil or objtype == "" then return const.objtyp_Error end
  if staffNotationTypes[objtype] then return const.objtyp_StaffNotation end
  if staffPropertyTypes[objtype] then return const.objtyp_StaffProperty end
  if objtype:sub(1, 5) == "Lyric" then return const.objtyp_StaffLyric end
  return const.objtyp_StaffNotation
end

local associativeTags = Set({ "Opts", "Dur", "Dur2", "Endings" })
local textTags = Set({ "Text", "Name", "Label", "Group", "Typeface" })
local listTags = Set({ "DynVel", "WithNextStaff", "WhenHidden" })
local noteTypes = Set({ "Note", "Chord", "Rest", "RestChord" })
local numberTags = Set({ "BracketHeight", "BracketOffsetNP", "Color", "Lower", "NumBars", "Pause",
                         "Repeat", "StemLength", "SweepRes", "Tempo", "Trans", "Upper",
                         "VertOffset", "Width", "XAccSpace", "XNoteSpace" })

function kvttxt.ClassifyOptTag(objtype, tag)
  if tag == "Visibility" then return const.opt_Raw end
  if objtype == "User" then return tag == "Pos" and const.opt_Num or const.opt_Raw end
  if associativeTags[tag] then return const.opt_Associative end
  if tag == "Pos" or tag == "Pos2" then
    return noteTypes[objtype] and const.opt_NotePos or const.opt_Num
  end
  if textTags[tag] or objtype == "SongInfo" then return const.opt_Text end
  if listTags[tag] then return const.opt_List end
  if tag == "Signature" and objtype == "Key" then return const.opt_Associative end
  if tag == "Bar" and objtype == "Context" then return const.opt_List end
  if numberTags[tag] then return const.opt_Num end
  return const.opt_Raw
end

-- Value classes: new (text), WriteUsing (write) and tostring give the text as written.
local function Class()
  local class = {}
  class.__index = class
  class.__tostring = function(self) return self:ToText() end
  function class:WriteUsing(write) write(self:ToText()) end
  return class
end

-- A quoted text. The escapes of the format: \} bar, \] backslash, \" \' \r \n \t.
kvtOptText = Class()
local unescapes = { ["}"] = "|", ["]"] = "\\", r = "\r", n = "\n", t = "\t" }
local escapes = { ["|"] = "\\}", ["\\"] = "\\]", ['"'] = '\\"', ["'"] = "\\'", ["\r"] = "\\r",
                  ["\n"] = "\\n", ["\t"] = "\\t" }

function kvtOptText.new(text)
  text = text or ""
  local inner = text:match('^"(.*)"$')
  if inner and not inner:match("\\$") then
    text = inner
  end
  text = text:gsub("\\(.)", function(c) return unescapes[c] or c end)
  return setmetatable({ Text = text }, kvtOptText)
end

function kvtOptText:ToText()
  return '"' .. self.Text:gsub('[|\\"\'\r\n\t]', escapes) .. '"'
end

-- Splits a text at commas into trimmed parts (one empty part for an empty text).
local function SplitCommas(text)
  if not text:find(",", 1, true) then return { Trim(text) } end
  local parts = {}
  for part in (text .. ","):gmatch("([^,]*),") do
    parts[#parts + 1] = Trim(part)
  end
  return parts
end

-- A comma-separated list; the table library's functions are its methods.
kvtOptList = Class()
for k, v in pairs(table) do kvtOptList[k] = v end

function kvtOptList.new(text)
  return setmetatable(SplitCommas(text or ""), kvtOptList)
end

function kvtOptList:Find(value)
  for i, v in ipairs(self) do
    if v == value then return i end
  end
  return nil
end

function kvtOptList:ToText() return table.concat(self, ",") end

-- Comma-separated keys, each optionally "=value"; group[key] is the value ("" for a bare key).
-- Keys keep their order; keys added later are written after them in sorted order.
kvtOptGroup = {}
-- The key order lives in the group under a private key (a weak table of all groups would
-- make every collection walk them); pairs does not show it.
local ORDER = {}
kvtOptGroup.__index = kvtOptGroup
kvtOptGroup.__tostring = function(self) return kvtOptGroup.ToText(self) end
kvtOptGroup.__pairs = function(self)
  return function(t, k)
    local key, value = next(t, k)
    if key == ORDER then key, value = next(t, key) end
    return key, value
  end, self, nil
end

function kvtOptGroup.new(text)
  local group = setmetatable({}, kvtOptGroup)
  local order = {}
  if text and text ~= "" then
    for _, entry in ipairs(SplitCommas(text)) do
      local key, value = entry, ""
      local equals = entry:find("=", 1, true)
      if equals then
        key = Trim(entry:sub(1, equals - 1))
        value = Trim(entry:sub(equals + 1))
      end
      if rawget(group, key) == nil then order[#order + 1] = key end
      rawset(group, key, value)
    end
  end
  rawset(group, ORDER, order)
  return group
end

function kvtOptGroup.ToText(self)
  local parts, seen = {}, {}
  local function add(key)
    local value = rawget(self, key)
    if value ~= nil and not seen[key] then
      seen[key] = true
      value = tostring(value)
      parts[#parts + 1] = value == "" and key or (key .. "=" .. value)
    end
  end
  for _, key in ipairs(rawget(self, ORDER) or {}) do add(key) end
  local extra = {}
  for key in next, self do
    if not seen[key] and type(key) == "string" then extra[#extra + 1] = key end
  end
  table.sort(extra)
  for _, key in ipairs(extra) do add(key) end
  return table.concat(parts, ",")
end

function kvtOptGroup.WriteUsing(self, write) write(kvtOptGroup.ToText(self)) end

-- One note position: accidental, signed position, note head, tie, colour.
kvtNotePos = Class()

function kvtNotePos.new(text)
  text = Trim(text or "")
  local acc, pos, head, tie, color = text:match("^([#bnxv]?)([-+]?%d+)(%a?)(%^?)!?(%d?)$")
  if not pos then error("invalid note position '" .. text .. "'", 2) end
  return setmetatable({ Accidental = acc ~= "" and acc or nil, Position = tonumber(pos),
                        Notehead = head ~= "" and head or nil, Tied = tie == "^",
                        Color = color ~= "" and tonumber(color) or nil }, kvtNotePos)
end

function kvtNotePos:ToText()
  return (self.Accidental or "") .. string.format("%d", self.Position) .. (self.Notehead or "") ..
         (self.Tied and "^" or "") .. (self.Color and ("!" .. self.Color) or "")
end

function kvtNotePos:GetAccidentalPitchOffset()
  return kvttxt.GetAccidentalOffset(self.Accidental)
end

function kvtNotePos:GetNoteName(clef)
  return noteNames[(kvttxt.GetClefStdCenterTone(clef) + self.Position) % 7 + 1]
end

-- Comma-separated note positions.
kvtNotePosList = Class()

function kvtNotePosList.new(text)
  local list = setmetatable({}, kvtNotePosList)
  for _, part in ipairs(SplitCommas(text or "")) do
    list[#list + 1] = kvtNotePos.new(part)
  end
  return list
end

function kvtNotePosList:ToText()
  local parts = {}
  for i, np in ipairs(self) do parts[i] = np:ToText() end
  return table.concat(parts, ",")
end

-- Text built from parts.
StringBuilder = {}
StringBuilder.__index = StringBuilder
StringBuilder.__tostring = function(self) return table.concat(self.parts) end

local function Render(value)
  if type(value) == "table" and value.WriteUsing then
    return StringBuilder.Writer(value)
  end
  return tostring(value)
end

function StringBuilder.new(...)
  local sb = setmetatable({ parts = {} }, StringBuilder)
  sb:add(...)
  return sb
end

function StringBuilder:add(...)
  for i = 1, select("#", ...) do self.parts[#self.parts + 1] = Render((select(i, ...))) end
  return self
end

function StringBuilder:prepend(...)
  local head = {}
  for i = 1, select("#", ...) do head[i] = Render((select(i, ...))) end
  for _, part in ipairs(self.parts) do head[#head + 1] = part end
  self.parts = head
  return self
end

function StringBuilder:reset()
  self.parts = {}
  return self
end

function StringBuilder.Writer(obj)
  local parts = {}
  obj:WriteUsing(function(...)
    for i = 1, select("#", ...) do parts[#parts + 1] = tostring((select(i, ...))) end
  end)
  return table.concat(parts)
end

-- One object line.
kvtItem = { DefaultLevel = -1 }
kvtItem.__index = kvtItem
kvtItem.__tostring = function(self) return StringBuilder.Writer(self) end

function kvtItem.SetDefaultLevel(n)
  n = tonumber(n) or 0
  kvtItem.DefaultLevel = math.max(0, math.min(2, math.floor(n)))
end

local converters = {
  [const.opt_Num] = function(data) return tonumber(data) or data end,
  [const.opt_Text] = kvtOptText.new,
  [const.opt_List] = kvtOptList.new,
  [const.opt_Associative] = kvtOptGroup.new,
  [const.opt_NotePos] = kvtNotePosList.new,
}

-- The fields of a level-2 item convert on first use: a field nobody reads is written back as
-- it was read, and costs nothing. Raw texts wait in a table under a private key of the fields
-- table (with the item's type); assigning a field (also nil, to remove it) replaces its raw
-- text; pairs converts everything first and does not show the private key.
local RAW = {}
local OBJTYPE = {}

local function RawOf(fields) return rawget(fields, RAW) end

local lazyFields = {
  __index = function(fields, label)
    local raw = rawget(fields, RAW)
    local data = raw and raw[label]
    if data == nil then return nil end
    raw[label] = nil
    local convert = converters[kvttxt.ClassifyOptTag(raw[OBJTYPE], label)]
    if convert then data = convert(data) end
    rawset(fields, label, data)
    return data
  end,
  __newindex = function(fields, label, value)
    local raw = rawget(fields, RAW)
    if raw then raw[label] = nil end
    rawset(fields, label, value)
  end,
  __pairs = function(fields)
    local raw = rawget(fields, RAW)
    if raw then
      for label in next, raw do
        if label ~= OBJTYPE then local _ = fields[label] end
      end
    end
    return function(t, k)
      local key, value = next(t, k)
      if key == RAW then key, value = next(t, key) end
      return key, value
    end, fields, nil
  end,
}

function kvtItem.new(line, level)
  level = level or kvtItem.DefaultLevel
  if level < 1 then return line end
  local fields, count = {}, 0
  for field in (line:sub(2) .. "|"):gmatch("([^|]*)|") do
    -- Blanks before a bar do not belong to the field.
    if field:find("%s$") then field = field:match("^(.-)%s*$") end
    count = count + 1
    fields[count] = field
  end
  local objtype = fields[1] or ""
  local i, fake, userType = 2, false, nil
  if objtype == "Fake" then
    fake = true
    objtype = fields[2] or ""
    i = 3
  end
  if objtype == "User" then
    userType = fields[i] or "..."
    i = i + 1
  end
  local order, seps, values = {}, {}, {}
  for k = i, count do
    local field = fields[k]
    local label, sep, data = field:match("^([%w_%-]+)([:%s]?)(.*)$")
    if label then
      if seps[label] == nil then order[#order + 1] = label end
      values[label] = data
      seps[label] = sep
    elseif field ~= "" then
      -- Something without a label is kept as it was.
      order[#order + 1] = field
      seps[field] = false
    end
  end
  local item = setmetatable({ Type = objtype, Fake = fake, UserType = userType, Order = order,
                              Seps = seps, Level = level }, kvtItem)
  if level >= 2 then
    values[OBJTYPE] = objtype
    item.Fields = setmetatable({ [RAW] = values }, lazyFields)
  else
    item.Fields = values
  end
  return item
end

local function TextOf(data)
  if type(data) == "table" then
    if data.ToText then return data:ToText() end
    if data.WriteUsing then return StringBuilder.Writer(data) end
  end
  return tostring(data)
end

function kvtItem:WriteUsing(write)
  local parts, n = {}, 0
  local function add(text)
    n = n + 1
    parts[n] = text
  end
  if self.Fake then add("|Fake") end
  add("|")
  add(self.Type)
  if self.Type == "User" then
    add("|")
    add(self.UserType or "...")
  end
  local fields = self.Fields
  local raw = RawOf(fields) or {}
  for _, label in ipairs(self.Order) do
    local sep = self.Seps[label]
    if sep == false then
      add("|")
      add(label)
    else
      -- Unread fields go out as they came in.
      local data = raw[label]
      if data == nil then data = rawget(fields, label) end
      if data ~= nil then
        add("|")
        add(label)
        add(sep or ":")
        add(type(data) == "string" and data or TextOf(data))
      end
    end
  end
  -- Fields set after reading, not in the line's order.
  for label, data in next, fields do
    if type(label) == "string" and self.Seps[label] == nil then
      add("|")
      add(label)
      add(":")
      add(TextOf(data))
    end
  end
  write(table.concat(parts, "", 1, n))
end

function kvtItem:IsFake() return self.Fake or self.Type == "Context" end
function kvtItem:GetUserType() return self.UserType end
function kvtItem:Is(t) return self.Type == t end
function kvtItem:IsNoteRestChord() return noteTypes[self.Type] == true end
function kvtItem:ContainsNotes() return noteTypes[self.Type] == true and self.Type ~= "Rest" end

function kvtItem:Get(...)
  local value = self.Fields
  for i = 1, select("#", ...) do
    if type(value) ~= "table" then return nil end
    value = value[(select(i, ...))]
  end
  return value
end

function kvtItem:GetNum(...) return tonumber(self:Get(...)) end

function kvtItem:Provide(label, data)
  if self.Fields[label] == nil then
    self.Fields[label] = data
    self.Order[#self.Order + 1] = label
    self.Seps[label] = ":"
  end
  return self.Fields[label]
end

-- Whether a duration field (group or raw text) holds a flag word.
local function HasFlag(dur, word)
  if type(dur) == "table" then return rawget(dur, word) ~= nil end
  if type(dur) == "string" then
    for _, part in ipairs(SplitCommas(dur)) do
      if part == word then return true end
    end
  end
  return false
end

function kvtItem:HasDuration()
  if self.Type == "RestMultiBar" then return true end
  return noteTypes[self.Type] == true and not HasFlag(self.Fields.Dur, "Grace")
end

function kvtItem:AllNotePositions()
  local lists = {}
  local pos, pos2 = self.Fields.Pos, self.Fields.Pos2
  -- The stem decides the order only when there are two voices.
  if pos2 and pos and type(self.Fields.Opts) == "table" and self.Fields.Opts.Stem == "Up" then
    lists = { pos2, pos }
  else
    lists = { pos, pos2 }
  end
  local l, k = 1, 0
  return function()
    while l <= 2 do
      local list = lists[l]
      if type(list) == "table" then
        k = k + 1
        if list[k] then return list[k] end
      end
      l, k = l + 1, 0
    end
    return nil
  end
end

-- The running state of a walk through a staff's items.
kvtPlayContext = {}
kvtPlayContext.__index = kvtPlayContext

local function CopyTable(t)
  local c = {}
  for k, v in pairs(t) do c[k] = v end
  return c
end

function kvtPlayContext.new()
  if kvtItem.DefaultLevel < 0 then kvtItem.SetDefaultLevel(2) end
  return setmetatable({
    Clef = "Treble", ClefOctave = "None", Transposition = 0, KeyTonic = "C",
    NextBarNum = 1, CurrentBarNum = 1, PendingBarIncrement = true, Slur = false,
    FirstEnding = nil, RunningAcc = {}, KeyAcc = {}, Ties = {},
  }, kvtPlayContext)
end

local function Snapshot(ctx)
  return { Clef = ctx.Clef, ClefOctave = ctx.ClefOctave, Transposition = ctx.Transposition,
           KeyTonic = ctx.KeyTonic, RunningAcc = CopyTable(ctx.RunningAcc),
           KeyAcc = CopyTable(ctx.KeyAcc) }
end

function kvtPlayContext:StartBar()
  if self.PendingBarIncrement then
    self.CurrentBarNum = self.NextBarNum
    self.NextBarNum = self.NextBarNum + 1
    self.PendingBarIncrement = false
  end
end

function kvtPlayContext:put(item)
  if type(item) ~= "table" or (item.Level or 0) < 2 then return end
  local t = item.Type
  if item:ContainsNotes() or t == "Rest" then
    self:StartBar()
    if item:ContainsNotes() then
      local ties = {}
      for np in item:AllNotePositions() do
        local name = self:GetNoteName(np)
        local acc = self:GetNoteAccidental(np)
        if np.Accidental then self.RunningAcc[name] = np.Accidental end
        if np.Tied then ties[#ties + 1] = { Position = np.Position, Accidental = acc } end
      end
      self.Ties = ties
    end
    if not HasFlag(item.Fields.Dur, "Grace") then self.Slur = HasFlag(item.Fields.Dur, "Slur") end
  elseif t == "RestMultiBar" then
    self:StartBar()
    local bars = tonumber(item.Fields.NumBars) or 1
    self.NextBarNum = self.NextBarNum + math.max(bars, 1) - 1
    self.CurrentBarNum = self.NextBarNum - 1
  elseif t == "Context" and item.Fields.Bar then
    local bar = item.Fields.Bar
    local n = type(bar) == "table" and tonumber(bar[1]) or tonumber(bar)
    local atStart = type(bar) == "table" and bar:Find("AtStart") ~= nil
    if n then
      if atStart then
        self.NextBarNum = n
        self.PendingBarIncrement = true
      else
        self.CurrentBarNum = n
        self.NextBarNum = n + 1
        self.PendingBarIncrement = false
      end
    end
  elseif t == "Bar" then
    self.RunningAcc = CopyTable(self.KeyAcc)
    if item.Fields.Style == "MasterRepeatOpen" then self.FirstEnding = nil end
    if item.Fields.XBarCnt ~= "Y" then self.PendingBarIncrement = true end
  elseif t == "Clef" then
    self.Clef = item.Fields.Type or "Treble"
    self.ClefOctave = item.Fields.OctaveShift or "None"
  elseif t == "Key" then
    local keyAcc = {}
    local sig = item.Fields.Signature
    if type(sig) == "table" then
      for entry in pairs(sig) do
        local letter, acc = tostring(entry):match("^([A-G])([#bnxv])$")
        if letter then keyAcc[letter] = acc end
      end
    end
    self.KeyAcc = keyAcc
    self.RunningAcc = CopyTable(keyAcc)
    if item.Fields.Tonic then self.KeyTonic = tostring(item.Fields.Tonic) end
  elseif t == "Instrument" then
    self.Transposition = tonumber(item.Fields.Trans) or 0
  elseif t == "Ending" then
    if self.FirstEnding == nil then
      self.FirstEnding = Snapshot(self)
    else
      for k, v in pairs(self.FirstEnding) do
        self[k] = type(v) == "table" and CopyTable(v) or v
      end
    end
  end
end

function kvtPlayContext:GetBarNum()
  return self.PendingBarIncrement and self.NextBarNum or self.CurrentBarNum
end

function kvtPlayContext:GetOctaveShift()
  if self.ClefOctave == "Octave Up" then return 1 end
  if self.ClefOctave == "Octave Down" then return -1 end
  return 0
end

function kvtPlayContext:GetPlayPitchShift()
  return 12 * self:GetOctaveShift() + self.Transposition
end

function kvtPlayContext:GetNoteName(np)
  return np:GetNoteName(self.Clef)
end

function kvtPlayContext:FindTieIndex(np)
  for i, tie in ipairs(self.Ties) do
    if tie.Position == np.Position then return i end
  end
  return nil
end

function kvtPlayContext:GetNoteAccidental(np)
  if np.Accidental then return np.Accidental end
  local tie = self:FindTieIndex(np)
  if tie and self.Ties[tie].Accidental then return self.Ties[tie].Accidental end
  return self.RunningAcc[self:GetNoteName(np)] or "n"
end

function kvtPlayContext:GetScientificPitchOctave(np)
  return math.floor((kvttxt.GetClefStdCenterTone(self.Clef) + np.Position) / 7)
end

function kvtPlayContext:GetNoteMidiPitch(np)
  local pitch = 12 * (self:GetScientificPitchOctave(np) + 1) + noteSemitones[self:GetNoteName(np)] +
                kvttxt.GetAccidentalOffset(self:GetNoteAccidental(np)) + self:GetPlayPitchShift()
  while pitch < 0 do pitch = pitch + 12 end
  while pitch > 127 do pitch = pitch - 12 end
  return pitch
end
