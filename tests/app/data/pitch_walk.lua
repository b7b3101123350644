-- Prints, for the score text file arg[2], the MIDI pitches kvtPlayContext gives each note-on:
-- one line per item that starts notes, the pitches sorted. kvttxt.lua is arg[1].
dofile(arg[1])
local ctx
for line in io.lines(arg[2]) do
  line = line:gsub("[\r\n%s]+$", "")
  if kvttxt.ClassifyLine(line) == kvttxt.const.ltyp_Object then
    local item = kvtItem.new(line, 2)
    if item.Type == "AddStaff" then ctx = kvtPlayContext.new() end
    if ctx and item:ContainsNotes() then
      local pitches = {}
      for np in item:AllNotePositions() do
        -- A note that continues a tie sounds no new note.
        if not ctx:FindTieIndex(np) then pitches[#pitches + 1] = ctx:GetNoteMidiPitch(np) end
      end
      table.sort(pitches)
      if #pitches > 0 then print(table.concat(pitches, " ")) end
    end
    if ctx then ctx:put(item) end
  end
end
