#pragma once
// What every score reader hands back: the score (or, for a clip, the count of items read),
// the load status, the code page and version the data announced, and what the load repaired.
// The text reader, the clip reader, the binary container and the older binary layout all
// answer in these types, so callers treat every load the same way.

#include <memory>

namespace kvt {

class TMusicScore;

// Load status; the numbers are those the binary container has always reported.
enum class TLoadStatus : int {
  kNew = 0,       // at most one byte: a new score with one default staff
  kLoaded = 1,    // format version 33 to 36, or a whole text score or clip
  kOlder = 2,     // format version 32 or below
  kNotScore = 3,  // signature or product wrong, no header line, or the file could not be opened
  kTooNew = 4,    // format version 37 or above
  kNewerApp = 5,  // the reserved field after the signature is above 0
  kRefused = 6,   // the product name is not accepted
  kCorrupt = 7,   // loaded as far as the data was sound; an error was found
};

// What a load had to mend. The readers report the corrupt status for damage in the data; these
// flags say which kinds of mending the result went through.
struct TLoadRepairs {
  // The file was a binary score damaged by a text-mode copy (LF turned into CR LF) and was
  // read from a repaired copy.
  bool textModeDamage = false;
  // Values were bounded, items or records dropped, or unreadable lines kept as text items.
  bool dataFaults = false;
  // The active staff, caret or selection lay outside the score and were brought inside.
  bool editorStateBounded = false;
  // A staff's name was empty or repeated an earlier staff's and was changed.
  bool staffNamesChanged = false;
};

// A score load. `score` is null when no score resulted (the status then says why); the caller
// owns it.
struct TScoreLoadResult {
  std::unique_ptr<TMusicScore> score;
  TLoadStatus status = TLoadStatus::kNotScore;
  // The ANSI code page of the score: the binary header's, or a score text's Locale record
  // (0 for a text without one).
  int codePage = 0;
  // The binary container's format version (0 for a text file).
  int formatVersion = 0;
  // The version of the score text's header line ("2.75"); 0 for the older binary layout.
  double textVersion = 0;
  TLoadRepairs repaired;
  // False when the file could not be opened at all (file loads only).
  bool fileOpened = true;
  // The score text went on past 256 MiB and was read no further (status kCorrupt).
  bool textTooLarge = false;
};

// A clip load into a staff: the count of items inserted, -1 when nothing was read (see
// clip_text.h), with the same status and repair report as a score load.
struct TClipLoadResult {
  int items = -1;
  TLoadStatus status = TLoadStatus::kNotScore;
  int codePage = 0;
  double textVersion = 0;
  TLoadRepairs repaired;
};

}  // namespace kvt
