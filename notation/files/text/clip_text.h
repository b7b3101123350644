#pragma once
// The clip format: a run of items of one staff as score text, framed by a header line and an
// end line, as the editor's copy and paste, the find command and user tools exchange it.
//
//   !TarlowmedeRazadoveClip(2.75,Single)
//   |Fake|Clef|Type:Bass                  context lines (optional): the clef, key, time
//   |Fake|Note|Dur:8th,Grace|Pos:-2^      signature and transposition in force where the run's
//   |Fake|Bar ...                         bar starts, the notes tied into that bar, the items
//   |Context|Bar:12,AtStart               of the bar before the run, and the run's bar number
//   |Note|Dur:4th|Pos:3                   the items of the run
//   !TarlowmedeRazadoveClip-End
//
// Context lines are for readers outside the system; this reader skips every line whose record
// name is "Fake" or "Context" (and only those: a field of another record that begins with
// "Fake" is data). Every line ends in CR LF, except the bare form: a run of one item written
// without context and without a frame is one item line in writer mode 1, without line end.
//
// Both directions poll the long-task cancel test of the services they are given
// (notation/services/long_task_cancel.h) once per item; the services are the caller's and
// serve the call (the reader: the reader's life) only.

#include <string_view>

#include "notation/files/score_load_result.h"
#include "notation/files/text/score_text_item_reader.h"
#include "notation/services/services.h"

namespace kvt {

class TKRVStream;
class TMusicScore;
class TMusicStaff;
class TStaffRange;
class TLongTaskCancel;

// Writes the items first..last of the staff as a clip (first and last are limited to the
// staff). With alwaysFramed false, a run of one item without context is written bare. With
// withContext the context lines are written after the header. A cancel request stops the item
// loop early; the end line is still written.
void WriteClipText(TMusicStaff& staff, int first, int last, TKRVStream& stream, bool alwaysFramed,
                   bool withContext, const TServices& services = TServices());
// The same for a staff range; an invalid range writes an empty framed clip.
void WriteClipText(const TStaffRange& range, TKRVStream& stream, bool alwaysFramed, bool withContext,
                   const TServices& services = TServices());

// TClipTextReader: reads a clip into a staff, inserting the items at indexes 1, 2, 3 ... (the
// staff is normally a fresh one the caller then uses as clipboard contents).
//
// Header search (at most 30,000 lines, empty ones skipped): a clip header with a version and
// ",Single" starts the items in framed mode; with acceptBareLines, a line beginning with a bar
// starts them in bare mode from the stream's start (no end line expected). Otherwise the first
// line is remembered (and, when it is an item line, its item inserted); when the stream ends
// without a header, a text item showing that first line is the clip, so plain text pastes as
// one text item. The last line of the stream is examined even without a line end, so a
// single copied item line pastes back as its item.
//
// Items: lines up to the clip end line (framed) or the end of the stream; comments, context
// records and empty lines are skipped, a Locale record sets the code page, and a line that
// makes no item becomes a text item showing its first 23 characters.
class TClipTextReader : public TKVTFindTextImporter {
public:
  // The score, when given, chooses the code pages of texts before version 2.7.
  TClipTextReader(TKRVStream& stream, TMusicStaff& staff, bool acceptBareLines, const TMusicScore* score,
                  const TServices& services = TServices());

  // Reads the clip. The result's items: the number of items inserted; -1 when nothing was
  // read, when a framed clip had no end line and gave no item, or when a cancel request stopped
  // the reading (the items inserted so far stay in the staff; the caller discards it). Its
  // status is kCorrupt when items were dropped at the staff's limit, a line was cut, a framed
  // clip lacked its end line or the stream failed (IsCorrupt tells the same), else kLoaded, or kNotScore when
  // nothing was read; its code page is that of a Locale record (0 without one), its
  // textVersion the header's (0 without one).
  TClipLoadResult Read();

private:
  int ReadClip();
  int ReadItems(class TScoreTextLineReader& lines, bool framed);
  void Insert(std::unique_ptr<TNotatedItem> item);

  TKRVStream& stream;
  TMusicStaff& staff;
  TLongTaskCancel& cancel;  // the services' provider, resolved at construction
  const bool acceptBareLines;
  int nextIndex = 1;
  int inserted = 0;
  int localeCodePage = 0;
  double headerVersion = 0;
};

// TClipTextReader(stream, staff, acceptBareLines, score, services).Read().
TClipLoadResult ReadClipText(TKRVStream& stream, TMusicStaff& staff, bool acceptBareLines,
                             const TMusicScore* score, const TServices& services = TServices());

}  // namespace kvt
