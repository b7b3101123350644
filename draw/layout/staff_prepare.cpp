#include "draw/layout/staff_prepare.h"

#include <array>
#include <cstdint>

#include "draw/items/song_note_drawing.h"
#include "draw/layout/beam_layout.h"
#include "draw/layout/score_draw_info.h"
#include "draw/layout/slur_layout.h"
#include "draw/layout/tuplet_brackets.h"
#include "notation/items/item_cast.h"
#include "notation/items/song_note.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

const TSongNote* SongAt(const TStaffDrawInfo& layout, int n) {
  const TStaffDrawPos* pos = layout.PositionAt(n);
  if (!pos || (pos->GetKind() != kDrawNote && pos->GetKind() != kDrawGraceNote)) return nullptr;
  return ItemAs<TSongNote>(layout.GetStaff()->GetItem(pos->GetItemIndex()));
}

// The previous song note of the same grace class before the item is slurred on to it.
bool ContinuesSlur(const TMusicStaff& staff, int itemIndex, bool grace) {
  for (int i = itemIndex - 1; i >= 0; --i) {
    const auto* song = ItemAs<TSongNote>(staff.GetItem(i));
    if (!song || song->IsGrace() != grace) continue;
    return (song->GetFlags() & kMaskSlur) != 0;
  }
  return false;
}

}  // namespace

void TStandardSongNoteDrawer::DrawSongNote(TScoreDrawInfo& score, TStaffDrawInfo& staff, int pos,
                                           int x) {
  const TStaffDrawPos* at = staff.PositionAt(pos);
  const auto* song =
      at ? ItemAs<TSongNote>(staff.GetStaff()->GetItem(at->GetItemIndex())) : nullptr;
  if (song) kvt::DrawSongNote(score.Fonts(), staff, *at, *song, x);
}

void PrepareForDrawing(TScoreDrawInfo& score, int slot, int leftX) {
  TStaffDrawInfo* layout = score.GetStaffDrawInfo(slot);
  if (!layout || !layout->GetStaff()) return;
  const TMusicStaff& staff = *layout->GetStaff();
  layout->Beams().Clear();
  layout->Brackets().Clear();
  layout->Slurs().Clear();
  const int count = layout->GetDrawPosCount();
  std::vector<int> xs(static_cast<size_t>(count));
  for (int n = 0; n < count; ++n) xs[static_cast<size_t>(n)] = leftX + layout->XOfPosition(n);

  for (int n = 1; n < count; ++n) {
    const TSongNote* song = SongAt(*layout, n);
    if (!song || song->GetBeamState() != kGroupFirst) continue;
    TStaffConnect beam;
    if (ComputeBeam(*layout, beam, n, xs[static_cast<size_t>(n)]) && !layout->Beams().Append(beam))
      break;
  }
  // The last item of the slur made last, per grace class, so that its notes start none.
  std::array<int, 2> slurEnd{-1, -1};
  for (int n = 1; n < count; ++n) {
    const TSongNote* song = SongAt(*layout, n);
    if (!song) continue;
    const int itemIndex = layout->PositionAt(n)->GetItemIndex();
    const size_t graceClass = song->IsGrace() ? 1 : 0;
    const bool slurred =
        (song->GetFlags() & kMaskSlur) != 0 || ContinuesSlur(staff, itemIndex, song->IsGrace());
    if (!slurred || itemIndex <= slurEnd[graceClass]) continue;
    TStaffSlur slur;
    if (!ComputeSlur(*layout, slur, n, xs[static_cast<size_t>(n)])) continue;
    slurEnd[graceClass] = slur.last;
    if (!layout->Slurs().Append(slur)) break;
  }
  for (int n = 1; n < count; ++n) {
    const TSongNote* song = SongAt(*layout, n);
    if (!song || song->GetTripletState() != kGroupFirst) continue;
    TStaffConnect bracket;
    if (ComputeTupletBracket(*layout, bracket, n, xs[static_cast<size_t>(n)]) &&
        !layout->Brackets().Append(bracket))
      break;
  }
}

}  // namespace kvt
