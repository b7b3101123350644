// Reading the song notes of the score text format: notes, rests, chords and rest chords with
// their durations, note positions and options.

#include <cstring>

#include "notation/items/chord_data.h"
#include "notation/items/name_lists.h"
#include "notation/items/rest_chord.h"
#include "notation/files/text/score_text_item_reader.h"
#include "notation/files/text/score_text_numbers.h"

namespace kvt {

namespace {

constexpr char kAccidentalLetters[] = "#bnxv";
constexpr char kHeadLetters[] = "oxXzyYabcdefghijklmnpqrstuvwABCDEFGHIJKLMNOPQRSTUVW";

// Index of a byte in a letter string (0..n-1), -1 for other bytes and the zero byte.
struct TLetterIndex {
  int8_t index[256];
  constexpr explicit TLetterIndex(const char* letters) : index() {
    for (int i = 0; i < 256; ++i) index[i] = -1;
    for (int i = 0; letters[i]; ++i) index[static_cast<unsigned char>(letters[i])] = static_cast<int8_t>(i);
  }
  int operator()(char c) const { return index[static_cast<unsigned char>(c)]; }
};
constexpr TLetterIndex kAccidentalIndex(kAccidentalLetters);
constexpr TLetterIndex kHeadIndex(kHeadLetters);
// Head shapes beyond the drawn ones read as the last drawn shape.
constexpr int kMaxReadHeadShape = 13;

bool WordIs(const char* text, const char* word) {
  for (; *word; ++text, ++word) {
    char a = *text;
    char b = *word;
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b + 32);
    if (a != b) return false;
  }
  return *text == 0;
}

// The flag bits of the duration words after the base name.
struct TDurationWord {
  const char* word;
  int bit;
};
constexpr TDurationWord kDurationWords[] = {
    {"DblDotted", kFlagDblDotted},   {"Dotted", kFlagDotted},     {"Grace", kFlagGrace},
    {"Staccatissimo", kFlagStaccatissimo}, {"Staccato", kFlagStaccato}, {"Tenuto", kFlagTenuto},
    {"Slur", kFlagSlur},             {"Accent", kFlagAccent},     {"Marcato", kFlagMarcato},
};

// "None", "First", "Middle", "End"; Middle for anything else.
int GroupStateOf(const char* value) {
  if (!value) return kGroupMiddle;
  const int state = TKVTTextImportTokenizer::FindName(value, kNameListGroupStates);
  return state < 0 ? kGroupMiddle : state;
}

}  // namespace

struct TKVTFindTextImporter::TDurationSpec {
  bool present = false;
  int code = kDurQuarter;
  int bits[16];
  int bitCount = 0;
  int triplet = kGroupNone;
};

struct TKVTFindTextImporter::TNoteOptions {
  int stem = kStemAuto;
  bool crescendo = false;
  bool diminuendo = false;
  int slur = -1;  // -1: not given
  int lyric = -1;
  int stemLength = -1;
  int beam = -1;
  int xAccSpace = -1;
  int xNoteSpace = -1;
  bool noLegerLines = false;
  bool articulationsOnStem = false;
  int tie = -1;
  bool muted = false;
  bool hideRest = false;
  bool hasVertOffset = false;
  int vertOffset = 0;
};

TKVTFindTextImporter::TDurationSpec TKVTFindTextImporter::ReadDuration(const char* fieldName) {
  TDurationSpec duration;
  char* value = FindField(fieldName);
  if (!value) return duration;
  duration.present = true;
  const int count = SplitValues(value);
  const std::string_view base = GetValueView(0);
  int code = FindName(base, kNameListDurationsText);
  if (code < 0) code = FindName(base, kNameListDurationsLong);
  if (code < 0) {
    MarkLenient();
    code = kDurQuarter;
  }
  duration.code = code;
  for (int i = 1; i < count; ++i) {
    char* word = GetValue(i);
    char* state = SplitOption(word);
    if (WordIs(word, "Triplet")) {
      // "None" takes the note out of any triplet; alone or with another name it is Middle.
      duration.triplet = GroupStateOf(state);
      continue;
    }
    for (const TDurationWord& known : kDurationWords) {
      if (WordIs(word, known.word) && duration.bitCount < 16) {
        duration.bits[duration.bitCount++] = known.bit;
        break;
      }
    }
    // Other words are ignored: later versions may add some.
  }
  return duration;
}

std::unique_ptr<TMusicNote> TKVTFindTextImporter::ReadPosition(const char* text,
                                                               const TDurationSpec& duration) {
  const char* p = text;
  int accidental = kAccNone;
  if (kAccidentalIndex(*p) >= 0) accidental = kAccidentalIndex(*p++);
  // The staff position: a sign and at most 31 characters of digits.
  const char* start = p;
  if (*p == '-' || *p == '+') ++p;
  const char* digits = p;
  while (*p >= '0' && *p <= '9' && p - start < 31) ++p;
  if (p == digits) {
    MarkLenient();
    return nullptr;
  }
  while (*p >= '0' && *p <= '9') ++p;  // digits past the limit cannot be a position
  int32_t written = 0;
  bool overflow = false;
  ParseIntValue(std::string_view(start, static_cast<size_t>(p - start)), written, &overflow);
  if (overflow) MarkLenient();
  // Written negated; a stored position is -128..127.
  const int position = Clamp(written == INT32_MIN ? INT32_MAX : -written, -128, 127);

  auto note = std::make_unique<TMusicNote>(position, duration.code, 0, accidental);
  for (int i = 0; i < duration.bitCount; ++i) note->SetNoteFlag(duration.bits[i]);
  note->SetTripletState(duration.triplet);

  if (const int shape = kHeadIndex(*p); shape >= 0) {
    note->SetNoteHead(shape > kMaxReadHeadShape ? kMaxReadHeadShape : shape);
    ++p;
  }
  if (*p == '^') {
    note->SetNoteFlag(kFlagTieOut);
    ++p;
  }
  if (*p == '!') {
    ++p;
    int32_t color = 0;
    if (ReadInt(p, color)) note->SetNoteColor(Clamp(color, 0, 15));
    while (*p == '-' || *p == '+' || (*p >= '0' && *p <= '9')) ++p;
  }
  if (*p) MarkLenient();  // text after the position that no writer puts there
  return note;
}

TKVTFindTextImporter::TNoteOptions TKVTFindTextImporter::ReadOptions() {
  TNoteOptions options;
  char* text = FindField("Opts:");
  if (!text) return options;
  const int count = SplitValues(text);
  for (int i = 0; i < count; ++i) {
    char* name = GetValue(i);
    const char* value = SplitOption(name);
    if (WordIs(name, "Stem")) {
      if (value) options.stem = WordIs(value, "Up") ? kStemUp : kStemDown;
    } else if (WordIs(name, "Crescendo")) {
      options.crescendo = true;
    } else if (WordIs(name, "Diminuendo")) {
      options.diminuendo = true;
    } else if (WordIs(name, "Slur")) {
      if (value) options.slur = ReadName(value, kNameListSlurDirections, kCurveDefault);
    } else if (WordIs(name, "Lyric")) {
      if (value) options.lyric = ReadName(value, kNameListLyricOptions, kLyricDefault);
    } else if (WordIs(name, "StemLength")) {
      options.stemLength = ReadIntClamped(value, 0, 30, -1);
    } else if (WordIs(name, "Beam")) {
      options.beam = GroupStateOf(value);
    } else if (WordIs(name, "XAccSpace")) {
      options.xAccSpace = ReadIntClamped(value, 0, 15, -1);
    } else if (WordIs(name, "XNoteSpace")) {
      options.xNoteSpace = ReadIntClamped(value, 0, 15, -1);
    } else if (WordIs(name, "NoLegerLines")) {
      options.noLegerLines = true;
    } else if (WordIs(name, "ArticulationsOnStem")) {
      options.articulationsOnStem = true;
    } else if (WordIs(name, "Tie")) {
      if (value) options.tie = ReadName(value, kNameListSlurDirections, kCurveDefault);
    } else if (WordIs(name, "Muted")) {
      options.muted = true;
    } else if (WordIs(name, "HideRest")) {
      options.hideRest = true;
    } else if (WordIs(name, "VertOffset")) {
      int32_t offset = 0;
      if (ReadInt(value, offset)) {
        options.hasVertOffset = true;
        // Written negated; anything beyond the stored range reads as hidden on a rest chord.
        options.vertOffset = offset == INT32_MIN ? INT32_MAX : -offset;
      }
    }
  }
  return options;
}

void TKVTFindTextImporter::ApplyOptions(const TNoteOptions& options, TSongNote& item,
                                        TMusicNote* notes, TRestNote* rest) {
  if (options.stem != kStemAuto) item.SetStemDir(options.stem);
  if (options.crescendo) item.SetNoteFlag(kFlagCrescendo);
  if (options.diminuendo) item.SetNoteFlag(kFlagDiminuendo);
  if (options.slur >= 0) item.SetSlurDirection(options.slur);
  if (options.lyric >= 0) item.SetLyric(options.lyric);
  if (notes) {
    if (options.stemLength >= 0) notes->SetStemLength(options.stemLength);
    if (options.beam >= 0) notes->SetBeamState(options.beam);
    if (options.xAccSpace >= 0) notes->SetXAccSpace(options.xAccSpace);
    if (options.xNoteSpace >= 0) notes->SetXNoteSpace(options.xNoteSpace);
    if (options.noLegerLines) notes->SetNoLegerLines(true);
    if (options.articulationsOnStem) notes->SetArticulationsOnStem(true);
    if (options.tie >= 0) notes->SetTieDirection(options.tie);
    if (options.muted) notes->SetMuted(true);
  }
  if (rest) {
    const bool restChord = rest->GetType() == kItemRestChord;
    if (options.hideRest && restChord) rest->SetHideRest(true);
    if (options.hasVertOffset && !rest->IsRestHidden()) {
      const int offset = options.vertOffset;
      if (restChord && (offset > kMaxRestVertOffset || offset < -kMaxRestVertOffset)) {
        rest->SetHideRest(true);
      } else {
        rest->SetVertOffset(Clamp(offset, -kMaxRestVertOffset - 1, kMaxRestVertOffset + 1));
      }
    }
  }
}

std::unique_ptr<TNotatedItem> TKVTFindTextImporter::ReadNote() {
  const TDurationSpec duration = ReadDuration("Dur:");
  std::unique_ptr<TMusicNote> note;
  if (char* pos = FindField("Pos:")) {
    if (SplitValues(pos) > 1) MarkLenient();
    note = ReadPosition(GetValue(0), duration);
  }
  if (!note) {
    // Without a position: a note on the middle line with the automatic accidental.
    note = std::make_unique<TMusicNote>(0, duration.code, 0, kAccNone);
    for (int i = 0; i < duration.bitCount; ++i) note->SetNoteFlag(duration.bits[i]);
    note->SetTripletState(duration.triplet);
  }
  ApplyOptions(ReadOptions(), *note, note.get(), nullptr);
  return note;
}

std::unique_ptr<TNotatedItem> TKVTFindTextImporter::ReadRest() {
  const TDurationSpec duration = ReadDuration("Dur:");
  auto rest = std::make_unique<TRestNote>(duration.code, 0);
  for (int i = 0; i < duration.bitCount; ++i) rest->SetNoteFlag(duration.bits[i]);
  rest->SetTripletState(duration.triplet);
  ApplyOptions(ReadOptions(), *rest, nullptr, rest.get());
  return rest;
}

std::unique_ptr<TNotatedItem> TKVTFindTextImporter::ReadChord() {
  // Both position lists are split at commas like the options: the options and the second
  // duration are read first, then each list in turn.
  const TNoteOptions options = ReadOptions();
  const TDurationSpec duration = ReadDuration("Dur:");
  const TDurationSpec duration2 = ReadDuration("Dur2:");
  auto chord = std::make_unique<TChordData>();

  int firstStem = options.stem;
  bool refused = false;
  auto addList = [&](const char* fieldName, const TDurationSpec& listDuration, int stem) {
    char* list = FindField(fieldName);
    if (!list || refused) return;
    const int count = SplitValues(list);
    for (int i = 0; i < count && !refused; ++i) {
      std::unique_ptr<TMusicNote> note = ReadPosition(GetValue(i), listDuration);
      if (!note) continue;
      ApplyOptions(options, *note, note.get(), nullptr);
      if (stem != kStemAuto) note->SetStemDir(stem);
      if (!chord->AddNote(note)) refused = true;
    }
  };
  addList("Pos:", duration, kStemAuto);
  if (!refused && duration2.present) {
    TSongNote* probe = chord->GetMemberCount() > 0 ? chord->GetMember(0) : nullptr;
    // The second voice is never shorter than the chord.
    TMusicNote first(0, duration.code, 0, kAccNone);
    for (int i = 0; i < duration.bitCount; ++i) first.SetNoteFlag(duration.bits[i]);
    first.SetTripletState(duration.triplet);
    TMusicNote second(0, duration2.code, 0, kAccNone);
    for (int i = 0; i < duration2.bitCount; ++i) second.SetNoteFlag(duration2.bits[i]);
    second.SetTripletState(duration2.triplet);
    if (second.GetNotatedDuration() >= first.GetNotatedDuration()) {
      // An automatic first set counts as down, or as up for a grace set.
      bool firstUp;
      if (firstStem == kStemUp)
        firstUp = true;
      else if (firstStem == kStemDown)
        firstUp = false;
      else
        firstUp = probe ? probe->IsGrace() : first.IsGrace();
      addList("Pos2:", duration2, firstUp ? kStemDown : kStemUp);
    } else if (FindField("Pos2:")) {
      MarkLenient();
    }
  }
  // A refused note and the positions after it are dropped; the chord read so far stands. Even
  // then a chord of one member is read as its note: the text of a one-member chord would read
  // back as a note, so keeping the chord would change the item on the next load.
  if (refused) MarkLenient();
  if (chord->GetMemberCount() == 0) return nullptr;
  if (chord->GetMemberCount() == 1) {
    return chord->RemoveNote(chord->GetMember(0));
  }
  return chord;
}

std::unique_ptr<TNotatedItem> TKVTFindTextImporter::ReadRestChord() {
  const TNoteOptions options = ReadOptions();
  const TDurationSpec duration = ReadDuration("Dur:");
  const TDurationSpec duration2 = ReadDuration("Dur2:");
  auto restChord = std::make_unique<TRestChord>(duration.code, 0);
  for (int i = 0; i < duration.bitCount; ++i) restChord->SetNoteFlag(duration.bits[i]);
  restChord->SetTripletState(duration.triplet);

  if (duration2.present) {
    if (char* list = FindField("Pos2:")) {
      TMusicNote probe(0, duration2.code, 0, kAccNone);
      for (int i = 0; i < duration2.bitCount; ++i) probe.SetNoteFlag(duration2.bits[i]);
      probe.SetTripletState(duration2.triplet);
      if (probe.GetNotatedDuration() >= restChord->GetNotatedDuration()) {
        const int count = SplitValues(list);
        for (int i = 0; i < count; ++i) {
          std::unique_ptr<TMusicNote> note = ReadPosition(GetValue(i), duration2);
          if (!note) continue;
          if (!restChord->AttachNote(note)) {
            MarkLenient();
            return nullptr;
          }
        }
      } else {
        MarkLenient();
      }
    }
  }
  TMusicNote* part = restChord->GetPart();
  if (!part) {
    // Without part notes the line is a plain rest.
    auto rest = std::make_unique<TRestNote>(duration.code, 0);
    for (int i = 0; i < duration.bitCount; ++i) rest->SetNoteFlag(duration.bits[i]);
    rest->SetTripletState(duration.triplet);
    ApplyOptions(options, *rest, nullptr, rest.get());
    return rest;
  }
  part->SetArticulationsOnStem(false);
  ApplyOptions(options, *restChord, part, restChord.get());
  restChord->Update();
  return restChord;
}

}  // namespace kvt
