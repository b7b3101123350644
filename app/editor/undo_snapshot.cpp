#include "app/editor/undo_snapshot.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "app/editor/undo_action_mgr.h"
#include "notation/audit/staff_audit.h"
#include "notation/files/binary/score_file_header.h"
#include "notation/files/older/older_layout_io.h"
#include "notation/files/older/older_score_reader.h"
#include "notation/files/older/older_score_writer.h"
#include "notation/files/text/range_item_strings.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"
#include "notation/staff/staff_range.h"
#include "utils/bool_array.h"

namespace kvt {

namespace {

int ReadIndex(TKRVStream& s) { return s.ReadShort(); }
int ReadSigned(TKRVStream& s) { return static_cast<int16_t>(s.ReadShort()); }
void WriteIndex(TKRVStream& s, int value) { s.WriteShort(std::clamp(value, 0, 65535)); }
void WriteSigned(TKRVStream& s, int value) { s.WriteShort(std::clamp(value, -32768, 32767)); }

TScoreFileHeader CopyHeader(TMusicScore* score) {
  TScoreFileHeader header;
  header.formatVersion = kOlderLayoutCopyVersion;
  header.score = score;
  return header;
}

void WriteLyricsRecord(TKRVStream& s, const TMusicStaff& staff) {
  const TStaffLyrics* lyrics = staff.GetLyrics();
  const bool present = lyrics != nullptr;
  s.PutByte(present ? 1 : 0);
  if (present) WriteStaffLyrics(s, staff, nullptr, kOlderLayoutCopyVersion);
}

// Reads a lyrics record into the staff; false on a damaged record.
bool ReadLyricsRecord(TKRVStream& s, TMusicStaff& staff) {
  const int present = s.GetByte();
  if (s.IsError() || present > 1) return false;
  if (present == 0) {
    if (TStaffLyrics* lyrics = staff.GetLyrics())
      while (lyrics->GetCount() > 0) lyrics->RemoveAt(lyrics->GetLastIndex());
    return true;
  }
  TScoreFileHeader header = CopyHeader(nullptr);
  ReadStaffLyrics(staff, header, s);
  return !s.IsError() && header.dataFaults == 0;
}

// The whole staff: properties, lyrics and the items between its boundary bar lines.
void WriteWholeStaff(TKRVStream& s, const TMusicStaff& staff) {
  WriteStaffProperties(s, staff, nullptr, kOlderLayoutCopyVersion);
  WriteLyricsRecord(s, staff);
  WriteRangeItemStrings(staff, 1, staff.GetLastIndex() - 1, s);
}

std::unique_ptr<TMusicStaff> ReadWholeStaff(TKRVStream& s) {
  auto staff = std::make_unique<TMusicStaff>();
  TScoreFileHeader header = CopyHeader(nullptr);
  ReadStaffProperties(*staff, header, s);
  if (s.IsError() || header.dataFaults != 0) return nullptr;
  if (!ReadLyricsRecord(s, *staff)) return nullptr;
  int first = 1;
  int last = 0;
  if (!ReadRangeItemStrings(*staff, first, last, s, false) || s.IsError()) return nullptr;
  return staff;
}

// Reads a range item strings record into a scratch staff (items from index 1 on); null when it
// does not parse whole.
std::unique_ptr<TMusicStaff> ReadItemsAside(TKRVStream& s, int& count) {
  auto scratch = std::make_unique<TMusicStaff>();
  int first = 1;
  int last = 0;
  if (!ReadRangeItemStrings(*scratch, first, last, s, false) || s.IsError()) return nullptr;
  count = scratch->GetItemCount() - 2;
  return scratch;
}

// Moves every item between the boundary bar lines of `from` into `to` from index `at` on.
void MoveItems(TMusicStaff& from, TMusicStaff& to, int at) {
  int i = at;
  while (from.GetItemCount() > 2) to.InsertItem(from.DetachItem(1), i++);
}

}  // namespace

// --- saving ---

bool TScoreUndo::SaveUndoState(int kind, int command, int extra, const TEditorCaret& at) {
  pending = TPending{};
  TMusicStaff* staff = score.GetStaff(at.staff);
  int head = at.staff;
  if (kind == kUndoStaffMove) head = extra;
  if (kind == kUndoScore && command == kCmdStaffProperties) head = extra;
  TMusicStaff* headStaff = score.GetStaff(head);
  // Score-wide entries outside 219 need no staff; everything else does.
  const bool needsStaff = !(kind == kUndoScore && command != kCmdStaffProperties);
  if (needsStaff && (!staff || !headStaff)) return false;
  if (!needsStaff) head = std::max(0, at.staff);

  TKRVStream& s = undo.Push(kind, command);
  pending.open = true;
  pending.kind = kind;
  pending.command = command;
  pending.staff = head;
  pending.lengthBefore = headStaff ? headStaff->GetItemCount() : 0;
  WriteIndex(s, head);

  switch (kind) {
    case kUndoWholeStaff:
      if (command == kCmdLyrics) {
        WriteSigned(s, staff->GetBoundaryTop());
        WriteSigned(s, staff->GetBoundaryBottom());
        WriteLyricsRecord(s, *staff);
      } else {
        WriteRangeItemStrings(*staff, 1, staff->GetLastIndex() - 1, s);
        if (command == kCmdTransposeStaff)
          WriteSigned(s, staff->GetInstrument().GetTransposition());
      }
      break;
    case kUndoStaffPresence:
      if (command == kCmdDeleteStaff) {
        s.PutByte(1);
        WriteWholeStaff(s, *staff);
      } else {
        s.PutByte(0);
        for (int i = 0; i < score.GetStaffCount(); ++i) pending.staves.push_back(score.GetStaff(i));
      }
      break;
    case kUndoStaffMove: WriteIndex(s, at.staff); break;
    case kUndoStaffProperties:
      WriteStaffProperties(s, *staff, nullptr, kOlderLayoutCopyVersion);
      break;
    case kUndoScore:
      if (command == kCmdLayeringTool || command == kCmdMuteList) {
        const TStaffFlagKind which =
            command == kCmdLayeringTool ? kStaffFlagLayerWithNext : kStaffFlagMuted;
        TKVBoolArray flags(TMusicScore::MaxScoreStaffs);
        score.GetStaffFlags(which, flags);
        WriteIndex(s, score.GetStaffCount());
        for (int i = 0; i < score.GetStaffCount(); ++i) s.PutByte(flags.Get(i) ? 1 : 0);
      } else if (command == kCmdStaffProperties) {
        WriteStaffProperties(s, *headStaff, nullptr, kOlderLayoutCopyVersion);
      } else {
        WriteScoreProperties(s, score, kOlderLayoutCopyVersion);
      }
      break;
    case kUndoEditorAction:
      if (command == kUndoSpacerChange) {
        WriteIndex(s, at.caret);
        WriteSigned(s, extra);
        break;
      }
      [[fallthrough]];
    default: SaveItemRange(s, *staff, kind, command, extra, at); break;
  }
  return true;
}

void TScoreUndo::SaveItemRange(TKRVStream& s, TMusicStaff& staff, int kind, int command, int extra,
                               const TEditorCaret& at) {
  const int last = staff.GetLastIndex();
  const int caret = std::clamp(at.caret, 1, std::max(1, last));
  int a = caret - 1;
  int b = caret;
  int removed = 0;
  int added = 0;
  if (at.HasSelection()) {
    a = at.SelectionStart();
    b = at.SelectionEnd();
    const int selected = std::max(0, b - a + 1);
    if (extra > 0) {
      removed = selected;
      added = extra;
    } else if (extra < 0) {
      removed = -extra;
    } else if (kind == kUndoItems && command == kCmdUserTool) {
      removed = selected;
    }
  } else if (kind == kUndoEditorAction && command == kUndoDeleteBackward) {
    b = a;
    removed = 1;
  } else if (kind == kUndoEditorAction &&
             (command == kUndoRemoveChordNote || command == kUndoNoteheadChange)) {
    b = a;
  }
  TStaffRange range(&staff, std::max(1, a), std::max(1, b));
  range.ExtendToBars();
  const int first = range.IsValid() ? range.GetFirst() : 1;
  const int count = range.IsValid() ? range.GetCount() : 0;
  WriteIndex(s, first);
  pending.inPlaceOffset = s.Tell();
  pending.savedCount = count;
  WriteIndex(s, std::max(0, count - removed + added));
  WriteIndex(s, count);
  WriteIndex(s, at.caret);
  WriteIndex(s, at.anchor);
  WriteRangeItemStrings(staff, first, first + count - 1, s);
}

void TScoreUndo::EndUndoState(int addedStaff) {
  if (!pending.open) return;
  pending.open = false;
  if (pending.kind == kUndoStaffPresence && pending.command == kCmdNewStaff) {
    // Undoing removes the staff recorded here, so it must be the one the edit added: an index
    // that names an older staff would delete that staff's music.
    const auto isOld = [&](int i) {
      return std::find(pending.staves.begin(), pending.staves.end(), score.GetStaff(i)) !=
             pending.staves.end();
    };
    if (!score.GetStaff(addedStaff) || isOld(addedStaff)) {
      addedStaff = -1;
      for (int i = 0; i < score.GetStaffCount() && addedStaff < 0; ++i)
        if (!isOld(i)) addedStaff = i;
    }
    if (addedStaff < 0) {
      undo.CancelPush();
      return;
    }
  }
  TKRVStream* s = undo.CurrentPushStream();
  undo.EndPush();
  if (!s) return;
  const int end = s->Tell();
  if (pending.inPlaceOffset >= 0) {
    // The edit itself says how many items it left: the staff's growth from the snapshot on.
    const TMusicStaff* staff = score.GetStaff(pending.staff);
    if (staff) {
      const int inPlace = pending.savedCount + staff->GetItemCount() - pending.lengthBefore;
      s->Seek(pending.inPlaceOffset);
      WriteIndex(*s, std::max(0, inPlace));
    }
  } else if (pending.kind == kUndoStaffPresence && pending.command == kCmdNewStaff) {
    s->Seek(0);
    WriteIndex(*s, addedStaff);
  }
  s->Seek(end);
}

void TScoreUndo::CancelUndoState() {
  if (!pending.open) return;
  pending.open = false;
  undo.CancelPush();
}

// --- applying ---

TUndoApplyResult TScoreUndo::Undo(const TEditorCaret& at) {
  EndUndoState();
  const TUndoEntryName name = undo.PeekUndo(0);
  TKRVStream* read = nullptr;
  TKRVStream* write = nullptr;
  undo.Undo(read, write);
  if (!read) return {};
  TUndoApplyResult result = Apply(*read, *write, name.kind, name.command, at);
  if (!result.applied) undo.UndoFailed();
  return result;
}

TUndoApplyResult TScoreUndo::Redo(const TEditorCaret& at) {
  EndUndoState();
  const TUndoEntryName name = undo.PeekRedo(0);
  TKRVStream* write = nullptr;
  TKRVStream* read = nullptr;
  undo.Redo(write, read);
  if (!read) return {};
  TUndoApplyResult result = Apply(*read, *write, name.kind, name.command, at);
  if (!result.applied) undo.RedoFailed();
  return result;
}

TUndoApplyResult TScoreUndo::Apply(TKRVStream& read, TKRVStream& write, int kind, int command,
                                   const TEditorCaret& at) {
  TUndoApplyResult result;
  result.kind = kind;
  result.command = command;
  const int staffIndex = ReadIndex(read);
  if (read.IsError()) return result;
  result.caret = at;
  result.caret.staff = staffIndex;
  bool ok = false;
  switch (kind) {
    case kUndoWholeStaff: ok = ApplyWholeStaff(read, write, staffIndex, command, result); break;
    case kUndoStaffPresence: ok = ApplyStaffPresence(read, write, staffIndex, result); break;
    case kUndoStaffMove: ok = ApplyStaffMove(read, write, staffIndex, result); break;
    case kUndoStaffProperties:
      ok = ApplyStaffProperties(read, write, staffIndex);
      result.stavesChanged = ok;
      break;
    case kUndoScore:
      ok = ApplyScore(read, write, staffIndex, command);
      result.scoreChanged = ok;
      result.caret.staff = at.staff;
      break;
    case kUndoEditorAction:
      if (command == kUndoSpacerChange) {
        ok = ApplySpacer(read, write, staffIndex, result);
        break;
      }
      [[fallthrough]];
    default: ok = ApplyItemRange(read, write, staffIndex, at, result); break;
  }
  result.applied = ok;
  return result;
}

bool TScoreUndo::ApplyItemRange(TKRVStream& read, TKRVStream& write, int staffIndex,
                                const TEditorCaret& at, TUndoApplyResult& result) {
  TMusicStaff* staff = score.GetStaff(staffIndex);
  if (!staff) return false;
  const int first = ReadIndex(read);
  const int inPlace = ReadIndex(read);
  const int saved = ReadIndex(read);
  const int caret = ReadIndex(read);
  const int anchor = ReadIndex(read);
  if (read.IsError()) return false;
  // The items to take out must lie between the boundary bar lines.
  if (first < 1 || first + inPlace > staff->GetLastIndex()) return false;
  int count = 0;
  std::unique_ptr<TMusicStaff> items = ReadItemsAside(read, count);
  if (!items || count != saved) return false;
  if (staff->GetItemCount() - inPlace + saved > kStaffFullCount) return false;

  WriteIndex(write, staffIndex);
  WriteIndex(write, first);
  WriteIndex(write, saved);
  WriteIndex(write, inPlace);
  WriteIndex(write, at.caret);
  WriteIndex(write, at.anchor);
  WriteRangeItemStrings(*staff, first, first + inPlace - 1, write);

  if (inPlace > 0) staff->DeleteItems(first, first + inPlace - 1);
  MoveItems(*items, *staff, first);
  AuditStaffAround(*staff, first, first + std::max(0, saved - 1));
  result.caret = ClampEditorCaret({staffIndex, caret, anchor, at.caretPos}, staff->GetLastIndex());
  return true;
}

bool TScoreUndo::ApplyWholeStaff(TKRVStream& read, TKRVStream& write, int staffIndex, int command,
                                 TUndoApplyResult& result) {
  TMusicStaff* staff = score.GetStaff(staffIndex);
  if (!staff) return false;
  if (command == kCmdLyrics) {
    // The lyrics dialog fits the staff's boundaries to the lines: they travel with them.
    const int top = ReadSigned(read);
    const int bottom = ReadSigned(read);
    // Parse aside first, then read the same record into the staff.
    const int32_t start = read.Tell();
    TMusicStaff scratch;
    if (read.IsError() || !ReadLyricsRecord(read, scratch)) return false;
    WriteIndex(write, staffIndex);
    WriteSigned(write, staff->GetBoundaryTop());
    WriteSigned(write, staff->GetBoundaryBottom());
    WriteLyricsRecord(write, *staff);
    read.Seek(start);
    ReadLyricsRecord(read, *staff);
    staff->SetBoundaries(top, bottom);
    result.caret.staff = staffIndex;
    return true;
  }
  int count = 0;
  std::unique_ptr<TMusicStaff> items = ReadItemsAside(read, count);
  if (!items) return false;
  int transposition = 0;
  if (command == kCmdTransposeStaff) {
    transposition = ReadSigned(read);
    if (read.IsError()) return false;
  }
  if (count + 2 > kStaffFullCount) return false;

  WriteIndex(write, staffIndex);
  WriteRangeItemStrings(*staff, 1, staff->GetLastIndex() - 1, write);
  if (command == kCmdTransposeStaff) WriteSigned(write, staff->GetInstrument().GetTransposition());

  staff->DeleteItems(1, staff->GetLastIndex() - 1);
  MoveItems(*items, *staff, 1);
  if (command == kCmdTransposeStaff) staff->GetInstrument().SetTransposition(transposition);
  AuditStaffRange(*staff);
  result.caret = ClampEditorCaret({staffIndex, 1, 1, result.caret.caretPos}, staff->GetLastIndex());
  result.restoreScroll = true;
  return true;
}

bool TScoreUndo::ApplyStaffPresence(TKRVStream& read, TKRVStream& write, int staffIndex,
                                    TUndoApplyResult& result) {
  const int flag = read.GetByte();
  if (read.IsError() || flag > 1) return false;
  if (flag == 1) {
    std::unique_ptr<TMusicStaff> staff = ReadWholeStaff(read);
    if (!staff || score.GetStaffCount() >= TMusicScore::MaxScoreStaffs) return false;
    const int at = std::clamp(staffIndex, 0, score.GetStaffCount());
    WriteIndex(write, at);
    write.PutByte(0);
    AuditStaffRange(*staff);
    score.InsertStaff(std::move(staff), at);
    result.caret = {at, 1, 1, 0};
  } else {
    // The editor needs a staff: the last one is never taken away.
    if (!score.GetStaff(staffIndex) || score.GetStaffCount() < 2) return false;
    WriteIndex(write, staffIndex);
    write.PutByte(1);
    WriteWholeStaff(write, *score.GetStaff(staffIndex));
    score.DetachStaff(staffIndex);
    // The editor goes to the shown staff that took its place (or the last shown one), so that
    // a hidden staff stays hidden.
    int next = -1;
    for (int i = staffIndex; i <= score.GetLastIndex() && next < 0; ++i)
      if (score.IsStaffIncluded(i)) next = i;
    for (int i = std::min(staffIndex, score.GetLastIndex()); i >= 0 && next < 0; --i)
      if (score.IsStaffIncluded(i)) next = i;
    result.caret = {next >= 0 ? next : std::min(staffIndex, score.GetLastIndex()), 1, 1, 0};
  }
  result.stavesChanged = true;
  return true;
}

bool TScoreUndo::ApplyStaffMove(TKRVStream& read, TKRVStream& write, int staffIndex,
                                TUndoApplyResult& result) {
  const int to = ReadIndex(read);
  if (read.IsError() || !score.GetStaff(staffIndex) || !score.GetStaff(to)) return false;
  WriteIndex(write, to);
  WriteIndex(write, staffIndex);
  std::unique_ptr<TMusicStaff> staff = score.DetachStaff(staffIndex);
  score.InsertStaff(std::move(staff), to);
  result.caret = {to, 1, 1, 0};
  result.stavesChanged = true;
  return true;
}

bool TScoreUndo::ApplyStaffProperties(TKRVStream& read, TKRVStream& write, int staffIndex) {
  TMusicStaff* staff = score.GetStaff(staffIndex);
  if (!staff) return false;
  TMusicStaff saved;
  TScoreFileHeader header = CopyHeader(&score);
  ReadStaffProperties(saved, header, read);
  if (read.IsError() || header.dataFaults != 0) return false;
  WriteIndex(write, staffIndex);
  WriteStaffProperties(write, *staff, nullptr, kOlderLayoutCopyVersion);
  return CopyStaffProperties(*staff, saved);
}

bool TScoreUndo::ApplyScore(TKRVStream& read, TKRVStream& write, int staffIndex, int command) {
  if (command == kCmdStaffProperties) return ApplyStaffProperties(read, write, staffIndex);
  if (command == kCmdLayeringTool || command == kCmdMuteList) {
    const int count = ReadIndex(read);
    if (read.IsError() || count != score.GetStaffCount()) return false;
    TKVBoolArray saved(TMusicScore::MaxScoreStaffs);
    for (int i = 0; i < count; ++i) saved.Set(i, read.GetByte() == 1);
    if (read.IsError()) return false;
    const TStaffFlagKind which =
        command == kCmdLayeringTool ? kStaffFlagLayerWithNext : kStaffFlagMuted;
    TKVBoolArray current(TMusicScore::MaxScoreStaffs);
    score.GetStaffFlags(which, current);
    WriteIndex(write, staffIndex);
    WriteIndex(write, count);
    for (int i = 0; i < count; ++i) write.PutByte(current.Get(i) ? 1 : 0);
    score.SetStaffFlags(which, saved);
    return true;
  }
  TMusicScore saved;
  TScoreFileHeader header = CopyHeader(&saved);
  ReadScoreProperties(saved, header, read);
  if (read.IsError() || header.dataFaults != 0) return false;
  WriteIndex(write, staffIndex);
  WriteScoreProperties(write, score, kOlderLayoutCopyVersion);
  return CopyScoreProperties(score, saved);
}

bool TScoreUndo::ApplySpacer(TKRVStream& read, TKRVStream& write, int staffIndex,
                             TUndoApplyResult& result) {
  TMusicStaff* staff = score.GetStaff(staffIndex);
  if (!staff) return false;
  const int caret = ReadIndex(read);
  const int delta = ReadSigned(read);
  if (read.IsError()) return false;
  const int applied = staff->AdjustSpacer(-delta, caret);
  WriteIndex(write, staffIndex);
  WriteIndex(write, caret);
  // Applying the opposite entry negates its delta, which takes back exactly what changed now.
  WriteSigned(write, applied);
  result.caret =
      ClampEditorCaret({staffIndex, caret, caret, result.caret.caretPos}, staff->GetLastIndex());
  return true;
}

}  // namespace kvt
