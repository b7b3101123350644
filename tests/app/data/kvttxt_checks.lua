-- Checks of the score text library under plain Lua 5.2; kvttxt.lua is arg[1]. Prints "ok".
dofile(arg[1])
local function eq(a, b, what)
  if a ~= b then error(what .. ": got " .. tostring(a) .. ", expected " .. tostring(b), 2) end
end

-- Texts: quotes dropped and escapes undone on reading, both redone on writing.
local t = kvtOptText.new('"a\\}b\\]c\\"d\\r\\n\\te\\\'f"')
eq(t.Text, 'a|b\\c"d\r\n\te\'f', "unescaped")
eq(tostring(t), '"a\\}b\\]c\\"d\\r\\n\\te\\\'f"', "escaped again")
eq(kvtOptText.new('plain').Text, "plain", "unquoted text")

-- Note positions: accidental, signed position, head, tie, colour.
local cases = {
  { "-4", nil, -4, nil, false, nil },
  { "#3", "#", 3, nil, false, nil },
  { "b-2x^", "b", -2, "x", true, nil },
  { "v10^!3", "v", 10, nil, true, 3 },
  { "n0o!7", "n", 0, "o", false, 7 },
}
for _, c in ipairs(cases) do
  local np = kvtNotePos.new(c[1])
  eq(np.Accidental, c[2], c[1] .. " accidental")
  eq(np.Position, c[3], c[1] .. " position")
  eq(np.Notehead, c[4], c[1] .. " head")
  eq(np.Tied, c[5], c[1] .. " tie")
  eq(np.Color, c[6], c[1] .. " colour")
  eq(tostring(np), c[1], c[1] .. " written back")
end
eq(kvtNotePos.new("0"):GetNoteName("Treble"), "B", "treble middle line")
eq(kvtNotePos.new("-6"):GetNoteName("Treble"), "C", "treble middle C")
eq(kvtNotePos.new("0"):GetNoteName("Bass"), "D", "bass middle line")
eq(kvtNotePos.new("x1"):GetAccidentalPitchOffset(), 2, "double sharp")
eq(tostring(kvtNotePosList.new("b-1, 1,#3^")), "b-1,1,#3^", "position list")
assert(not pcall(kvtNotePos.new, "#"), "a position needs its number")

-- Object lines: fields, groups, lists, round trips.
local line = '|Note|Dur:8th,Dotted,Slur|Pos:#-3^|Opts:Stem=Up,Beam=First'
local item = kvtItem.new(line, 2)
eq(item.Type, "Note", "type")
eq(item:Get("Opts", "Stem"), "Up", "group value")
eq(item:Get("Dur", "Slur"), "", "bare group key")
eq(tostring(item), line, "level 2 round trip")
eq(tostring(kvtItem.new(line, 1)), line, "level 1 round trip")
eq(kvtItem.new(line, 0), line, "level 0 keeps the text")
local user = kvtItem.new('|Fake|User|Thing|Pos:-2|Label:"x\\}y"', 2)
assert(user:IsFake() and user:GetUserType() == "Thing" and user:GetNum("Pos") == -2)
eq(user:Get("Label"), '"x\\}y"', "user fields stay raw")
eq(tostring(user), '|Fake|User|Thing|Pos:-2|Label:"x\\}y"', "user round trip")
local grace = kvtItem.new("|Chord|Dur:16th,Grace|Pos:-1,1", 2)
assert(grace:ContainsNotes() and not grace:HasDuration())
assert(kvtItem.new("|RestMultiBar|NumBars:4", 2):HasDuration())
assert(not kvtItem.new("|Rest|Dur:4th", 2):ContainsNotes())
local split = kvtItem.new("|RestChord|Dur:Half|Pos:-1|Dur2:4th|Pos2:3|Opts:Stem=Up", 2)
local order = {}
for np in split:AllNotePositions() do order[#order + 1] = np.Position end
eq(table.concat(order, ","), "3,-1", "Pos2 first with stem up")
local list = kvtItem.new("|StaffInstrument|DynVel:10,30,45", 2)
eq(list:Get("DynVel"):Find("30"), 2, "list find")
eq(kvttxt.ClassifyOptTag("Key", "Signature"), kvttxt.const.opt_Associative, "key signature")
eq(kvttxt.ClassifyOptTag("Context", "Bar"), kvttxt.const.opt_List, "context bar")
eq(kvttxt.ClassifyObjType("Lyric1"), kvttxt.const.objtyp_StaffLyric, "lyric lines")
eq(kvttxt.ClassifyLine("#/File: x"), kvttxt.const.ltyp_Comment, "comment")
assert(not pcall(function() kvttxt.const.rc_Error = 5 end), "constants are read-only")

-- Bar numbers.
local ctx = kvtPlayContext.new()
eq(ctx:GetBarNum(), 1, "first bar")
ctx:put(kvtItem.new("|Note|Dur:4th|Pos:0", 2))
ctx:put(kvtItem.new("|Bar", 2))
eq(ctx:GetBarNum(), 2, "after a bar line")
ctx:put(kvtItem.new("|Bar|XBarCnt:Y", 2))
ctx:put(kvtItem.new("|Note|Dur:4th|Pos:0", 2))
eq(ctx:GetBarNum(), 2, "an uncounted bar line")
ctx:put(kvtItem.new("|Bar", 2))
ctx:put(kvtItem.new("|RestMultiBar|NumBars:4", 2))
ctx:put(kvtItem.new("|Bar", 2))
eq(ctx:GetBarNum(), 7, "after a four-bar rest")
print("ok")
