#pragma once
// TTieReleases: the keys that tied notes of one staff's play walk struck and that wait for the
// note that continues the tie. When the walk reaches the next note, rest or chord and that item
// does not continue a waiting tie (a rest, another pitch, a jump or the end of an ending came
// instead), the key is released at the tied note's own played end; so is every key still
// waiting when the staff ends. Without this the key would sound on under the following music.
//
// The walk calls BeforeItem for each item it performs, with the state as it stands before the
// item; the items' own Perform still strikes and continues the notes.

#include <cstdint>
#include <vector>

namespace kvt {

class TMidiFileBuf;
class TNotatedItem;
class TStaffContextState;

class TTieReleases {
public:
  // Ends the waiting ties that the item does not continue (only a song note does, at the tick
  // where the tie's note ends), then takes up the item's own sounding notes tied on.
  void BeforeItem(const TNotatedItem& item, const TStaffContextState& state,
                  TMidiFileBuf& buffer);
  // Releases every waiting key at its played end.
  void EndAll(TMidiFileBuf& buffer);
  // Forgets the waiting keys (the walk moved without playing).
  void Clear() { waiting.clear(); }

private:
  struct TWaitingTie {
    int port;
    int channel;
    int pitch;
    int64_t continuesAt;  // the tick where the continuing note starts
    int64_t playedEnd;    // where the key goes up when nothing continues it
  };
  void Release(const TWaitingTie& tie, TMidiFileBuf& buffer) const;

  std::vector<TWaitingTie> waiting;
};

}  // namespace kvt
