#pragma once
// Test support for the score player and the MIDI export: scores built in code from a short
// notation, and the events of a rendered buffer read back.
//
// Staff text: blank-separated tokens appended before the staff's closing bar line.
//   C D E F G A B     quarter notes C4 .. B4 (keys 60 .. 71) on a treble staff
//   c d e f g a b     the same as eighth notes
//   C~                a quarter note tied to the next note
//   C<  C>            a quarter note marked crescendo / diminuendo
//   R                 a quarter rest
//   |  ||             single and double bar line
//   |:  :|            master repeat open and close
//   {:  :}  :}3       local repeat open and close (played twice, or n times)
//   [1 [2 [12         special ending for passes 1, 2, or 1 and 2
//   Segno Coda Fine ToCoda DC DCalFine DCalCoda DS DSalFine DSalCoda   flow directions
//   T90               tempo mark, 90 quarters a minute
//   p40  f100         dynamic with that note velocity
//   v80               dynamic sending main volume 80 (no velocity)
//   cresc  dim        dynamic variance
//   M4                multi-bar rest of 4 bars (of 4/4)
//   4/4  3/4          time signature
//   K2                key signature of 2 sharps (K-3: 3 flats)
//   U                 user object

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "notation/items/bar_line_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/flow_direction.h"
#include "notation/items/key_data.h"
#include "midi/events/midi_file_buf.h"
#include "midi/play/score_midi_player.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_note.h"
#include "notation/items/song_note.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"
#include "notation/items/user_object.h"

namespace kvt::test {

// Treble-clef staff position of the notes C4 .. B4.
inline int LetterPos(char letter) {
  switch (letter) {
    case 'C': return 6;
    case 'D': return 5;
    case 'E': return 4;
    case 'F': return 3;
    case 'G': return 2;
    case 'A': return 1;
    default: return 0;  // B
  }
}

inline std::unique_ptr<TNotatedItem> MakeItem(const std::string& t) {
  auto flow = [](int style) { return std::make_unique<TFlowDirection>(style); };
  const bool isNote =
      std::string("CDEFGABcdefgab").find(t[0]) != std::string::npos &&
      (t.size() == 1 || (t.size() == 2 && std::string("~<>").find(t[1]) != std::string::npos));
  if (isNote) {
    const bool eighth = std::islower(static_cast<unsigned char>(t[0])) != 0;
    auto note = std::make_unique<TMusicNote>(LetterPos(static_cast<char>(std::toupper(t[0]))),
                                             eighth ? kDurEighth : kDurQuarter, 0, kAccNone);
    if (t.size() == 2 && t[1] == '~') note->SetNoteFlag(kFlagTieOut);
    if (t.size() == 2 && t[1] == '<') note->SetNoteFlag(kFlagCrescendo);
    if (t.size() == 2 && t[1] == '>') note->SetNoteFlag(kFlagDiminuendo);
    return note;
  }
  if (t == "R") return std::make_unique<TRestNote>(kDurQuarter, 0);
  if (t == "|") return std::make_unique<TBarLineData>(kBarSingle);
  if (t == "||") return std::make_unique<TBarLineData>(kBarDouble);
  if (t == "|:") return std::make_unique<TBarLineData>(kBarMasterRepeatOpen);
  if (t == ":|") return std::make_unique<TBarLineData>(kBarMasterRepeatClose);
  if (t == "{:") return std::make_unique<TBarLineData>(kBarLocalRepeatOpen);
  if (t.rfind(":}", 0) == 0)
    return std::make_unique<TBarLineData>(kBarLocalRepeatClose,
                                          t.size() > 2 ? std::atoi(t.c_str() + 2) : 2);
  if (t[0] == '[') {
    auto ending = std::make_unique<TSpecialEnding>();
    for (size_t i = 1; i < t.size(); ++i) ending->SetEnding(t[i] - '0', true);
    return ending;
  }
  if (t == "Segno") return flow(kFlowSegno);
  if (t == "Coda") return flow(kFlowCoda);
  if (t == "Fine") return flow(kFlowFine);
  if (t == "ToCoda") return flow(kFlowToCoda);
  if (t == "DC") return flow(kFlowDaCapo);
  if (t == "DCalFine") return flow(kFlowDCalFine);
  if (t == "DCalCoda") return flow(kFlowDCalCoda);
  if (t == "DS") return flow(kFlowDalSegno);
  if (t == "DSalFine") return flow(kFlowDSalFine);
  if (t == "DSalCoda") return flow(kFlowDSalCoda);
  if (t[0] == 'T') return std::make_unique<TTempoData>(std::atoi(t.c_str() + 1), kTempoQuarter);
  if (t[0] == 'p' || t[0] == 'f') {
    auto dyn = std::make_unique<TDynamicLevelData>(t[0] == 'p' ? kDynP : kDynF);
    dyn->SetHasVelocity(true);
    dyn->SetVelocity(std::atoi(t.c_str() + 1));
    return dyn;
  }
  if (t[0] == 'v') {
    auto dyn = std::make_unique<TDynamicLevelData>(kDynMF);
    dyn->SetHasVolume(true);
    dyn->SetVolume(std::atoi(t.c_str() + 1));
    return dyn;
  }
  if (t == "cresc") return std::make_unique<TDynamicVariance>(kDynVarCrescendo);
  if (t == "dim") return std::make_unique<TDynamicVariance>(kDynVarDiminuendo);
  if (t[0] == 'M') {
    auto rest = std::make_unique<TMultiMeasureRest>();
    rest->SetNumBars(std::atoi(t.c_str() + 1));
    return rest;
  }
  if (t.size() == 3 && t[1] == '/')
    return std::make_unique<TTimeSignatureData>(t[0] - '0', TTimeSignatureData::ExponentOf(t[2] - '0'));
  if (t[0] == 'K') {
    const int count = std::atoi(t.c_str() + 1);
    int sharps = 0;
    int flats = 0;
    TKeyData::MasksOfCount(count, sharps, flats);
    return std::make_unique<TKeyData>(sharps, flats, TKeyData::MajorTonic(count));
  }
  if (t == "U") return std::make_unique<TKVTUserObject>("Test");
  return nullptr;
}

// Appends the items of the staff text before the closing bar line. An unknown token fails
// the calling test through the returned false.
inline bool AddItems(TMusicStaff& staff, const std::string& text) {
  std::istringstream in(text);
  std::string token;
  while (in >> token) {
    std::unique_ptr<TNotatedItem> item = MakeItem(token);
    if (!item) return false;
    staff.InsertItem(std::move(item), staff.GetLastIndex());
  }
  return true;
}

// A staff on the channel, with the items of the text; added to the score. Returns the staff.
inline TMusicStaff& AddStaff(TMusicScore& score, const std::string& text, int channel = 0) {
  auto staff = std::make_unique<TMusicStaff>();
  staff->SetChannel(channel);
  TMusicStaff& ref = *staff;
  score.AddStaff(std::move(staff));
  if (!AddItems(ref, text)) ref.SetName(u"BAD TOKEN");
  return ref;
}

// The score rendered for playing (BuildPlayBuffer) into the buffer.
inline void RenderForPlaying(TMusicScore& score, TMidiFileBuf& buffer) {
  TScoreMidiPlayer player;
  player.SetScore(&score);
  player.BuildPlayBuffer(buffer);
}

struct TNoteOn {
  uint32_t time;
  int channel;
  int key;
  int velocity;
  friend bool operator==(const TNoteOn&, const TNoteOn&) = default;
};

inline std::vector<TNoteOn> NoteOns(const TMidiFileBuf& buffer) {
  std::vector<TNoteOn> out;
  for (int i = 0; i < buffer.GetEventCount(); ++i) {
    const TMidiSongEvent& e = buffer.GetEvent(i);
    if (e.msg.IsNoteOn()) out.push_back({e.time, e.msg.GetChannel(), e.msg.GetData1(), e.msg.GetData2()});
  }
  return out;
}

// The note names (C .. B for keys 60 .. 71, '?' otherwise) of the note-ons in order.
inline std::string NoteNames(const TMidiFileBuf& buffer) {
  static const char* names = "C?D?EF?G?A?B";
  std::string out;
  for (const TNoteOn& on : NoteOns(buffer))
    out += (on.key >= 60 && on.key <= 71) ? names[on.key - 60] : '?';
  return out;
}

struct TControl {
  uint32_t time;
  int channel;
  int controller;
  int value;
  friend bool operator==(const TControl&, const TControl&) = default;
};

inline std::vector<TControl> Controls(const TMidiFileBuf& buffer, int controller) {
  std::vector<TControl> out;
  for (int i = 0; i < buffer.GetEventCount(); ++i) {
    const TMidiSongEvent& e = buffer.GetEvent(i);
    if (e.msg.IsChannelMessage() && e.msg.GetCommand() == kMidiControlChange &&
        e.msg.GetData1() == controller)
      out.push_back({e.time, e.msg.GetChannel(), controller, e.msg.GetData2()});
  }
  return out;
}

// Events of one record kind, as (time, word) pairs.
inline std::vector<TMidiSongEvent> EventsOfKind(const TMidiFileBuf& buffer, int kind) {
  std::vector<TMidiSongEvent> out;
  for (int i = 0; i < buffer.GetEventCount(); ++i) {
    if (buffer.GetEvent(i).msg.GetKind() == kind) out.push_back(buffer.GetEvent(i));
  }
  return out;
}

}  // namespace kvt::test
