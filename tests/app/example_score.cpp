#include "tests/app/example_score.h"

#include <initializer_list>
#include <string_view>
#include <utility>

#include "notation/items/bar_line_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/key_data.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_note.h"
#include "notation/items/repeat_ending.h"
#include "notation/context/staff_context_state.h"
#include "notation/staff/staff_lyrics.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"

namespace kvt::example {

namespace {

// A note of the piece: staff position (steps from the middle line, downward positive) and
// duration code.
struct TNote {
  int pos;
  int duration;
};

class TStaffWriter {
public:
  explicit TStaffWriter(TMusicStaff& staff) : staff(staff) {}

  void Add(std::unique_ptr<TNotatedItem> item) {
    staff.InsertItem(std::move(item), staff.GetLastIndex());
  }
  void Notes(std::initializer_list<TNote> notes) {
    for (const TNote& n : notes) Add(std::make_unique<TMusicNote>(n.pos, n.duration, 0, kAccNone));
  }
  void Bar(int style) { Add(std::make_unique<TBarLineData>(style)); }
  void Ending(int number) {
    auto ending = std::make_unique<TSpecialEnding>();
    ending->SetEnding(number, true);
    Add(std::move(ending));
  }
  void Dynamic(int level) { Add(std::make_unique<TDynamicLevelData>(level)); }
  void Opening(int clef) {
    Add(std::make_unique<TClefData>(clef));
    Add(std::make_unique<TKeyData>(0, 0, TKeyData::MajorTonic(0)));
    Add(std::make_unique<TTimeSignatureData>(4, 2));
  }

private:
  TMusicStaff& staff;
};

std::unique_ptr<TMusicStaff> NewStaff(std::u16string_view name, int channel, int patch,
                                      std::u16string_view instrument) {
  auto staff = std::make_unique<TMusicStaff>();
  staff->SetName(name);
  staff->SetLabel(name);
  staff->SetChannel(channel);
  staff->GetInstrument().SetName(instrument);
  staff->GetInstrument().SetPatch(patch);
  return staff;
}

void WriteVoice(TMusicStaff& staff) {
  TStaffWriter w(staff);
  w.Opening(kClefTreble);
  auto tempo = std::make_unique<TTempoData>(kTempo, kTempoQuarter);
  tempo->SetText(u"Andante");
  w.Add(std::move(tempo));
  w.Dynamic(kDynMF);
  w.Add(std::make_unique<TRestNote>(kDurWhole, 0));
  w.Bar(kBarMasterRepeatOpen);
  w.Notes({{4, kDurQuarter}, {2, kDurQuarter}, {1, kDurQuarter}, {2, kDurQuarter}});
  w.Bar(kBarSingle);
  w.Notes({{-1, kDurHalf}, {1, kDurHalf}});
  w.Bar(kBarSingle);
  w.Ending(1);
  w.Notes({{2, kDurHalf}, {4, kDurHalf}});
  w.Bar(kBarMasterRepeatClose);
  w.Ending(2);
  w.Dynamic(kDynF);
  w.Notes({{5, kDurQuarter}, {4, kDurQuarter}, {6, kDurHalf}});

  TStaffLyrics& lyrics = staff.MakeLyrics();
  auto line = std::make_unique<TLyricText>();
  line->ParseLine(u"Sun on the wa-ter, light on stone; home a-gain.", false,
                  lyrics.GetUnderscoreAsSpace());
  lyrics.Add(std::move(line));
}

void WriteRightHand(TMusicStaff& staff) {
  TStaffWriter w(staff);
  w.Opening(kClefTreble);
  w.Dynamic(kDynMF);
  w.Notes({{2, kDurQuarter}, {-1, kDurQuarter}, {-3, kDurQuarter}, {-1, kDurQuarter}});
  w.Bar(kBarMasterRepeatOpen);
  w.Dynamic(kDynP);
  w.Notes({{4, kDurQuarter}, {2, kDurQuarter}, {-1, kDurQuarter}, {2, kDurQuarter}});
  w.Bar(kBarSingle);
  w.Notes({{1, kDurQuarter}, {-1, kDurQuarter}, {-4, kDurQuarter}, {-1, kDurQuarter}});
  w.Bar(kBarSingle);
  w.Ending(1);
  w.Notes({{2, kDurQuarter}, {0, kDurQuarter}, {-2, kDurQuarter}, {0, kDurQuarter}});
  w.Bar(kBarMasterRepeatClose);
  w.Ending(2);
  w.Dynamic(kDynF);
  w.Notes({{2, kDurQuarter}, {0, kDurQuarter}, {-1, kDurHalf}});
}

void WriteLeftHand(TMusicStaff& staff) {
  TStaffWriter w(staff);
  w.Opening(kClefBass);
  w.Dynamic(kDynMF);
  w.Notes({{1, kDurWhole}});
  w.Bar(kBarMasterRepeatOpen);
  w.Dynamic(kDynP);
  w.Notes({{1, kDurHalf}, {4, kDurHalf}});
  w.Bar(kBarSingle);
  w.Notes({{5, kDurHalf}, {1, kDurHalf}});
  w.Bar(kBarSingle);
  w.Ending(1);
  w.Notes({{4, kDurWhole}});
  w.Bar(kBarMasterRepeatClose);
  w.Ending(2);
  w.Dynamic(kDynF);
  w.Notes({{4, kDurHalf}, {1, kDurHalf}});
}

}  // namespace

std::unique_ptr<TMusicScore> MakeExampleScore() {
  auto score = std::make_unique<TMusicScore>();
  score->SetSongInfoText(kSongTitle, u"Evening on the Quay");
  score->SetSongInfoText(kSongAuthor, u"The kvt2 developers");
  score->SetSongInfoText(kSongLyricist, u"The kvt2 developers");
  score->SetSongInfoText(kSongCopyright1, u"Example score of kvt2, free to use and change");
  score->SetSongInfoText(kSongComments,
                         u"A short song for voice and piano.\r\n"
                         u"It shows staves, lyrics, dynamics, a tempo, a repeat and two endings.");

  auto voice = NewStaff(u"Voice", kVoiceChannel, 52, u"Choir Aahs");
  WriteVoice(*voice);
  auto right = NewStaff(u"Piano RH", kRightHandChannel, 0, u"Acoustic Grand Piano");
  right->SetBraceWithNext(true);
  right->SetConnectBarsWithNext(true);
  WriteRightHand(*right);
  auto left = NewStaff(u"Piano LH", kLeftHandChannel, 0, u"Acoustic Grand Piano");
  WriteLeftHand(*left);

  score->AddStaff(std::move(voice));
  score->AddStaff(std::move(right));
  score->AddStaff(std::move(left));
  return score;
}

}  // namespace kvt::example
