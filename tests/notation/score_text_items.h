#pragma once
// Items of every kind, with settings away from their defaults, for the score text tests.

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "notation/items/item_cast.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/flow_direction.h"
#include "notation/items/generic_control.h"
#include "notation/items/key_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/notation_marker.h"
#include "notation/items/patch_data.h"
#include "notation/items/performance_style.h"
#include "notation/items/rest_chord.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "notation/items/user_object.h"

namespace kvt {
namespace score_text_test {

using TItemPtr = std::unique_ptr<TNotatedItem>;

inline std::unique_ptr<TMusicNote> NewNote(int pos, int duration = kDurQuarter, int stem = kStemAuto,
                                           int accidental = kAccNone) {
  auto note = std::make_unique<TMusicNote>(pos, duration, 0, accidental);
  note->SetStemDir(stem);
  return note;
}

template <class... Notes>
TItemPtr Chord(Notes... notes) {
  auto chord = std::make_unique<TChordData>();
  std::unique_ptr<TMusicNote> list[] = {std::move(notes)...};
  for (std::unique_ptr<TMusicNote>& note : list) {
    if (!chord->AddNote(note)) ADD_FAILURE() << "chord refused a note of the fixture";
  }
  return chord;
}

struct TItemCase {
  const char* name;
  std::function<TItemPtr()> make;
};

// One or more items of every kind, with settings away from their defaults.
inline const TItemCase kItemCases[] = {
    {"ClefPlain", [] { return std::make_unique<TClefData>(kClefBass); }},
    {"ClefShifted",
     [] {
       auto clef = std::make_unique<TClefData>(kClefTreble);
       clef->SetOctaveShift(kOctaveShiftDown);
       clef->SetAutoSys(false);
       clef->SetColor(3);
       return TItemPtr(std::move(clef));
     }},
    {"KeySharps", [] { return std::make_unique<TKeyData>(0x7F & ((1 << 5) | (1 << 2) | (1 << 6)), 0, 4); }},
    {"KeyFlatsHidden",
     [] {
       auto key = std::make_unique<TKeyData>(0, (1 << 1) | (1 << 4), 3);
       key->SetHideCancels(true);
       key->SetAutoSys(false);
       return TItemPtr(std::move(key));
     }},
    {"KeyC", [] { return std::make_unique<TKeyData>(); }},
    {"BarSingle", [] { return std::make_unique<TBarLineData>(); }},
    {"BarRepeat",
     [] {
       auto bar = std::make_unique<TBarLineData>(kBarLocalRepeatClose, 3);
       bar->SetXBarCnt(true);
       bar->SetSysBreak(true);
       bar->SetVisibility(kVisNever);
       return TItemPtr(std::move(bar));
     }},
    {"BarRepeatMax", [] { return std::make_unique<TBarLineData>(kBarLocalRepeatClose, 255); }},
    {"BarTransparent", [] { return std::make_unique<TBarLineData>(kBarTransparent); }},
    {"EndingNew", [] { return std::make_unique<TSpecialEnding>(); }},
    {"EndingFull",
     [] {
       auto ending = std::make_unique<TSpecialEnding>();
       ending->SetEnding(1, true);
       ending->SetEnding(3, true);
       ending->SetDefaultEnding(true);
       ending->SetClosedBracket(true);
       ending->SetHideText(true);
       ending->SetBracketHeight(9);
       ending->SetVertOffset(3);
       return TItemPtr(std::move(ending));
     }},
    {"InstrumentEmpty", [] { return std::make_unique<TPatchData>(); }},
    {"InstrumentFull",
     [] {
       auto patch = std::make_unique<TPatchData>();
       TInstrumentDef& def = patch->GetInstrument();
       def.SetName(u"Violin \"I\" | \\ 'solo'");
       def.SetPatch(40);
       def.SetBank(1, 5);
       def.SetTransposition(-12);
       def.SetBendRange(12);
       for (int level = 0; level < 8; ++level) def.SetDynamicVelocity(level, 20 + level * 13);
       patch->SetPos(-3.25);
       patch->SetJustify(kJustifyRight);
       patch->SetPlacement(kPlaceAtNextNote);
       return TItemPtr(std::move(patch));
     }},
    {"InstrumentPatchNoBank",
     [] {
       auto patch = std::make_unique<TPatchData>();
       patch->GetInstrument().SetPatch(0);
       patch->GetInstrument().SetBendRange(100);
       return TItemPtr(std::move(patch));
     }},
    {"TimeSig", [] { return std::make_unique<TTimeSignatureData>(7, 3); }},
    {"TimeSigCommon",
     [] {
       auto sig = std::make_unique<TTimeSignatureData>();
       sig->SetStyle(kTimeSigCommon);
       return TItemPtr(std::move(sig));
     }},
    {"TimeSigAllaBreve",
     [] {
       auto sig = std::make_unique<TTimeSignatureData>();
       sig->SetStyle(kTimeSigAllaBreve);
       return TItemPtr(std::move(sig));
     }},
    {"Tempo", [] { return std::make_unique<TTempoData>(96); }},
    {"TempoText",
     [] {
       auto tempo = std::make_unique<TTempoData>(60, kTempoHalfDotted);
       tempo->SetText(u"Lento, ma non troppo \u00e9\u00e8");
       tempo->SetWide(true);
       return TItemPtr(std::move(tempo));
     }},
    {"Dynamic", [] { return std::make_unique<TDynamicLevelData>(kDynPP); }},
    {"DynamicOptions",
     [] {
       auto dynamic = std::make_unique<TDynamicLevelData>(kDynFFF);
       dynamic->SetVelocity(120);
       dynamic->SetHasVelocity(true);
       dynamic->SetVolume(0);
       dynamic->SetHasVolume(true);
       return TItemPtr(std::move(dynamic));
     }},
    {"DynamicVolumeOnly",
     [] {
       auto dynamic = std::make_unique<TDynamicLevelData>(kDynMP);
       dynamic->SetVolume(77);
       dynamic->SetHasVolume(true);
       return TItemPtr(std::move(dynamic));
     }},
    {"Pedal", [] { return std::make_unique<TSustainPedal>(true); }},
    {"PedalReleased", [] { return std::make_unique<TSustainPedal>(false); }},
    {"Flow", [] { return std::make_unique<TFlowDirection>(kFlowDSalFine); }},
    {"MpcDefault", [] { return std::make_unique<TGenericControl>(); }},
    {"MpcSweep",
     [] {
       auto control = std::make_unique<TGenericControl>();
       control->SetController(kMpcVolume);
       control->SetStyle(kMpcLinearSweep);
       control->SetTimeRes(kDurEighth);
       control->SetSweepRes(10);
       control->SetPoint(0, 0, 20);
       control->SetPoint(1, 4, 100);
       control->SetPoint(2, 2, 50);
       control->SetPoint(3, 1, -3);
       return TItemPtr(std::move(control));
     }},
    {"TempoVariancePause",
     [] {
       auto variance = std::make_unique<TTempoVariance>(kTempoVarFermata);
       variance->SetPause(12);
       return TItemPtr(std::move(variance));
     }},
    {"TempoVarianceRit", [] { return std::make_unique<TTempoVariance>(kTempoVarRitardando); }},
    {"DynamicVariance", [] { return std::make_unique<TDynamicVariance>(kDynVarSforzando); }},
    {"PerformanceStyleAccented", [] { return std::make_unique<TPerformanceStyle>(12); }},
    {"PerformanceStyle", [] { return std::make_unique<TPerformanceStyle>(22); }},
    {"Text",
     [] {
       auto text = std::make_unique<TTextExpression>();
       text->SetText(u"tab\there, line\nend\r, bar | slash \\ \"q\" 'a'");
       text->SetFontIndex(kTextFontUser1 + 5);
       text->SetScale(250);
       text->SetPos(12.5);
       return TItemPtr(std::move(text));
     }},
    {"TextLargeScale",
     [] {
       auto text = std::make_unique<TTextExpression>();
       text->SetText(u"x");
       text->SetScale(1000);
       return TItemPtr(std::move(text));
     }},
    {"User",
     [] {
       auto object = std::make_unique<TKVTUserObject>("Glissando");
       object->SetPos(-2.5);
       object->SetClass(kUserClassStaffSig);
       object->SetParam("Width", "12");
       object->SetParam("Label", "two words");
       object->SetParam("pos", "own");
       object->SetParam("FakeName", "kept");
       object->SetParam("Empty", "");
       object->SetParam("Quote", "a\"b'c\\d|e\tf");
       object->SetParam("color", "red");
       object->SetColor(3);
       object->SetVisibility(kVisNever);
       return TItemPtr(std::move(object));
     }},
    {"UserLongValue",
     [] {
       auto object = std::make_unique<TKVTUserObject>("Big");
       object->SetParam("Data", std::string(70000, 'z'));
       return TItemPtr(std::move(object));
     }},
    {"Spacer", [] { return std::make_unique<TStaffSpacer>(1234); }},
    {"SpacerZero", [] { return std::make_unique<TStaffSpacer>(0); }},
    {"MultiRest",
     [] {
       auto rest = std::make_unique<TMultiMeasureRest>(16);
       rest->SetPrintOnce(true);
       return TItemPtr(std::move(rest));
     }},
    {"MultiRestHidden",
     [] {
       auto rest = std::make_unique<TMultiMeasureRest>(3000);
       rest->SetShowBarsWhenHidden(false);
       return TItemPtr(std::move(rest));
     }},
    {"MultiRestNothingShown",
     [] {
       auto rest = std::make_unique<TMultiMeasureRest>(2);
       rest->SetShowBarsWhenHidden(false);
       rest->SetShowRestsWhenHidden(false);
       return TItemPtr(std::move(rest));
     }},
    {"BoundaryReset", [] { return std::make_unique<TStaffSizer>(); }},
    {"BoundaryNewSize",
     [] {
       auto sizer = std::make_unique<TStaffSizer>();
       sizer->SetStyle(kSizerNewSize);
       sizer->SetNewSize(20, 7);
       return TItemPtr(std::move(sizer));
     }},
    {"BoundaryGap",
     [] {
       auto sizer = std::make_unique<TStaffSizer>();
       sizer->SetStyle(kSizerGap);
       sizer->SetGapWidth(30000);
       sizer->SetSystemConnections(true);
       return TItemPtr(std::move(sizer));
     }},
    {"BoundaryNewPage",
     [] {
       auto sizer = std::make_unique<TStaffSizer>();
       sizer->SetStyle(kSizerNewSystem);
       sizer->SetNewPage(true);
       return TItemPtr(std::move(sizer));
     }},
    {"Marker", [] { return std::make_unique<TNotationMarker>(); }},
    {"MarkerTargets",
     [] {
       auto marker = std::make_unique<TNotationMarker>();
       marker->SetTarget(kMarkerArticulation | kMarkerTriplet);
       marker->SetPos(-7.75);
       return TItemPtr(std::move(marker));
     }},
    {"NotePlain", [] { return TItemPtr(NewNote(3)); }},
    {"NoteEverything",
     [] {
       auto note = NewNote(-5, kDur16th, kStemDown, kAccDoubleFlat);
       note->SetNoteFlag(kFlagDotted);
       note->SetNoteFlag(kFlagGrace);
       note->SetNoteFlag(kFlagStaccatissimo);
       note->SetNoteFlag(kFlagTenuto);
       note->SetNoteFlag(kFlagSlur);
       note->SetNoteFlag(kFlagTieOut);
       note->SetNoteFlag(kFlagCrescendo);
       note->SetTripletState(kGroupFirst);
       note->SetBeamState(kGroupEnd);
       note->SetNoteHead(7);
       note->SetNoteColor(12);
       note->SetSlurDirection(kCurveDown);
       note->SetTieDirection(kCurveUp);
       note->SetLyric(kLyricNever);
       note->SetStemLength(9);
       note->SetXAccSpace(2);
       note->SetXNoteSpace(15);
       note->SetNoLegerLines(true);
       note->SetArticulationsOnStem(true);
       note->SetMuted(true);
       note->SetColor(7);
       note->SetVisibility(kVisMultiStaff);
       return TItemPtr(std::move(note));
     }},
    {"NoteMiddleGroups",
     [] {
       auto note = NewNote(0, kDurEighth);
       note->SetTripletState(kGroupMiddle);
       note->SetBeamState(kGroupMiddle);
       note->SetNoteFlag(kFlagDblDotted);
       note->SetNoteFlag(kFlagMarcato);
       return TItemPtr(std::move(note));
     }},
    {"NoteNoStem",
     [] {
       auto note = NewNote(127, kDurWhole, kStemAuto, kAccSharp);
       note->SetStemLength(0);
       return TItemPtr(std::move(note));
     }},
    {"NoteLowest", [] { return TItemPtr(NewNote(-128, kDur64th, kStemUp, kAccNatural)); }},
    {"Rest", [] { return std::make_unique<TRestNote>(kDurHalf, kMaskDotted); }},
    {"RestOffset",
     [] {
       auto rest = std::make_unique<TRestNote>(kDur32nd, kMaskGrace | kMaskAccent);
       rest->SetVertOffset(-6);
       rest->SetStemDir(kStemUp);
       rest->SetTripletState(kGroupEnd);
       return TItemPtr(std::move(rest));
     }},
    {"ChordSingleStem",
     [] { return Chord(NewNote(6, kDurEighth, kStemAuto, kAccSharp), NewNote(4, kDurEighth), NewNote(2, kDurEighth)); }},
    {"ChordSeconds", [] { return Chord(NewNote(6), NewNote(5), NewNote(4)); }},
    {"ChordOptions",
     [] {
       TItemPtr chord = Chord(NewNote(1, kDurHalf), NewNote(-3, kDurHalf, kStemAuto, kAccFlat));
       auto& c = ItemRef<TChordData>(*chord);
       c.SetNoteFlag(kFlagAccent);
       c.SetNoteFlag(kFlagDotted);
       c.SetStemDir(kStemUp);
       c.SetTieDirection(kCurveDown);
       c.SetBeamState(kGroupFirst);
       c.SetMuted(true);
       c.Update();
       return chord;
     }},
    {"ChordSplitTwoDurations",
     [] {
       return Chord(NewNote(4, kDurHalf, kStemDown), NewNote(-2, kDurQuarter, kStemUp),
                     NewNote(-4, kDurQuarter, kStemUp));
     }},
    {"ChordGraceTriplet",
     [] {
       auto first = NewNote(-1, kDurEighth);
       first->SetNoteFlag(kFlagGrace);
       first->SetTripletState(kGroupFirst);
       auto second = NewNote(-3, kDurEighth);
       second->SetNoteFlag(kFlagGrace);
       second->SetTripletState(kGroupFirst);
       return Chord(std::move(first), std::move(second));
     }},
    {"ChordHeadsAndColours",
     [] {
       auto low = NewNote(3, kDurQuarter, kStemAuto, kAccNatural);
       low->SetNoteHead(2);
       low->SetNoteColor(4);
       auto high = NewNote(-1, kDurQuarter, kStemAuto, kAccDoubleSharp);
       high->SetNoteHead(13);
       return Chord(std::move(low), std::move(high));
     }},
    {"ChordUnison", [] { return Chord(NewNote(2), NewNote(-2), NewNote(2)); }},
    {"ChordSplitOneDuration",
     [] { return Chord(NewNote(4, kDurQuarter, kStemDown), NewNote(-2, kDurQuarter, kStemUp)); }},
    {"ChordTied",
     [] {
       TItemPtr chord = Chord(NewNote(4), NewNote(2));
       chord->GetMember(0)->SetNoteFlag(kFlagTieOut);
       ItemRef<TChordData>(*chord).Update();
       return chord;
     }},
    {"RestChordNote",
     [] {
       auto restChord = std::make_unique<TRestChord>(kDurQuarter, 0);
       auto note = NewNote(-3);
       note->SetNoteFlag(kFlagStaccato);
       restChord->AttachNote(note);
       return TItemPtr(std::move(restChord));
     }},
    {"RestChordChord",
     [] {
       auto restChord = std::make_unique<TRestChord>(kDurEighth, 0);
       for (int pos : {-3, -5}) {
         auto note = NewNote(pos, kDurEighth);
         restChord->AttachNote(note);
       }
       restChord->SetVertOffset(4);
       return TItemPtr(std::move(restChord));
     }},
    {"RestChordHidden",
     [] {
       auto restChord = std::make_unique<TRestChord>(kDurHalf, 0);
       auto note = NewNote(5, kDurHalf);
       restChord->AttachNote(note);
       restChord->SetHideRest(true);
       return TItemPtr(std::move(restChord));
     }},
};

}  // namespace score_text_test
}  // namespace kvt
