#pragma once
// Reading score text into scores: whole text scores (the ".kvttxt" files and the body of
// binary score files), the format version a text announces, and the loader of the item lines.
//
// The reader is lenient: it never rejects a file for a bad record. Unknown records become user
// objects, unknown fields are ignored, numbers are bounded, a line that is no record or whose
// record makes no item stays in the staff as a text item showing the start of the line, and a
// damaged text loads as far as it is sound. What the format bounds, defaults or keeps as text
// is normal reading: the load succeeds. Only lost data gives the corrupt load status: a text
// without its end line, a fault of the stream underneath (TKRVStream::IsFailed: corrupt or
// truncated compressed data), a line longer than the line reader takes, and what is dropped at
// a limit (items past a staff's item limit, a 256th staff with its records, values or object
// properties past their counts). Nothing in a text raises a precondition.

#include <memory>

#include "notation/files/score_load_result.h"
#include "notation/files/text/score_text_item_reader.h"
#include "notation/services/services.h"

namespace kvt {

class TKRVStream;
class TMusicScore;
class TMusicStaff;
struct TServices;

// Header search modes of ReadScoreText.
inline constexpr int kScoreTextModeFile = -1;  // file opens and conversions: a header is required
inline constexpr int kScoreTextModeTool = 1;   // user tools: header-less text is read from its start

// Reads a text score from the stream's current position (see the header comment). The header
// search reads lines: a line beginning with "!TarlowmedeRazadove(" (either spelling) and a
// version starts score mode; "!TarlowmedeRazadoveClip(" with a version and ",Single" starts
// clip mode (the clip is read into the score's one staff); other lines not beginning with a
// bar are skipped; bar lines are skipped too, except in kScoreTextModeTool, where the first one
// starts score mode from the stream's start. An empty line, the end of the stream or a header
// without a readable version ends the search without a score (status kNotScore). A score read
// is finished by FinishLoadedScore (score_load_finish.h). The result's status is kLoaded or kCorrupt with a score; its code
// page is that of the text's Locale record (0 without one), its textVersion the header's. The
// services (the caller's, for the call only) give a new score its page-setup defaults, poll
// cancel while a clip reads, and serve the closing audit.
TScoreLoadResult ReadScoreText(TKRVStream& stream, const TServices& services,
                               int mode = kScoreTextModeFile);

// The version number of the first score or clip header line of the text; 0 when an empty line
// or the end of the stream comes first.
double SniffTextFormatVersion(TKRVStream& stream);

// TKVTFileTextImporter: the whole-score reader behind ReadScoreText. It builds the score while
// reading: the staff made with the score stays the current staff until an AddStaff record
// claims it.
class TKVTFileTextImporter : public TKVTFindTextImporter {
public:
  // services: not owned; they must outlive the importer.
  explicit TKVTFileTextImporter(const TServices& services);
  ~TKVTFileTextImporter();

  TScoreLoadResult Read(TKRVStream& stream, int mode);

private:
  struct TStaffStyles;

  void ReadScoreLines(class TScoreTextLineReader& lines);
  // One record line (split); false when the line is not a record of the score part.
  void ReadRecord(std::string_view rawLine);
  void ReadEditor();
  void ReadSongInfo();
  void ReadPageSetup();
  void ReadMargins();
  void ReadFont();
  void ReadLyricsRecord();
  void ReadLyricLine(int number);
  void ReadStaffProperties();
  void ReadStaffInstrument();
  void ReadAddStaff();
  void AddItem(std::unique_ptr<TNotatedItem> item);
  // The end of every read: legacy styles, then the load's finishing step.
  TLoadRepairs Finish();

  const TServices& services;
  std::unique_ptr<TMusicScore> score;
  TMusicStaff* staff = nullptr;      // current staff; null while a dropped staff's records run
  bool firstStaffUnclaimed = false;
  bool sawEnd = false;
  bool tooLarge = false;  // the text went past the line reader's limit
  int localeCodePage = 0;  // of a Locale record; 0 without one
  std::unique_ptr<TStaffStyles> styles;
};

}  // namespace kvt
