#include "notation/files/binary/binary_score_file.h"

#include <optional>
#include <string_view>

#include "notation/staff/music_staff.h"
#include "notation/items/notated_item.h"
#include "notation/files/older/older_score_reader.h"
#include "notation/services/services.h"
#include "notation/files/text/score_text_format.h"
#include "notation/files/text/score_text_item_reader.h"
#include "notation/files/text/score_text_line_reader.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "utils/busy_cursor.h"
#include "utils/crlf_repair.h"
#include "utils/file_stream.h"
#include "utils/flat_ram_stream.h"
#include "utils/stream.h"
#include "utils/zlib_in_stream.h"
#include "utils/zlib_out_stream.h"

namespace kvt {
namespace {

std::unique_ptr<TMusicScore> NewScoreWithOneStaff(const TServices& services) {
  auto score = std::make_unique<TMusicScore>(nullptr, services);
  score->AddStaff(std::make_unique<TMusicStaff>());
  return score;
}

// Reads the compressed data to its end: a damaged end (a truncated stream, a wrong check sum)
// shows only there, after the score itself was read. Data that goes on far past any score is
// damage too.
bool CompressedDataIsWhole(TKRVZLibInStream& in) {
  return in.SkipToEnd(TScoreTextLineReader::kMaxTextBytes) && !in.IsFailed();
}

void CopySettings(const TMusicScore& score, TScoreSettingsBlock& settings) {
  settings.songInfo = score.GetSongInfo();
  settings.margins = score.GetMargins();
  settings.zoom = score.GetZoom();
  settings.pageNumbers = score.GetPageNumbers();
  settings.staffLabels = score.GetStaffLabels();
  settings.barNumbers = score.GetBarNumbers();
  settings.startingBar = score.GetStartingBar();
  settings.optionBitsA = score.GetOptionBitsA();
  settings.optionBitsB = score.GetOptionBitsB();
}

// The statuses a text-mode copy of a good file ends with.
bool IsRepairableStatus(TLoadStatus status) {
  return status == TLoadStatus::kNotScore || status == TLoadStatus::kCorrupt;
}

// The whole file; false when it cannot be opened or read.
bool ReadWholeFile(const char* path, std::string& bytes) {
  TKRVFStream file(kFileModeRead | kFileShareRead, path);
  if (!file.IsOpen()) return false;
  const int32_t size = file.Size();
  if (size < 0) return false;
  bytes.resize(static_cast<size_t>(size));
  return file.Read(bytes.data(), size) == size && !file.IsFailed();
}

// Loads the file's data under the decompressing stream in tagged mode and marks the score
// compressed when the data was.
TScoreLoadResult ReadScoreFromData(TKRVStream& data, TScoreFileHeader& header,
                                   const TServices& services) {
  TKVBusyCursor busy(CursorServiceOf(services));
  TKRVZLibInStream in(TKRVZLibInStream::kModeTagged, &data);
  TScoreLoadResult result = LoadScore(in, header, services);
  if (!result.score) return result;
  const bool compressed = in.IsCompressed();
  if (compressed && !CompressedDataIsWhole(in)) header.status = result.status = TLoadStatus::kCorrupt;
  result.score->SetCompressed(compressed);
  return result;
}

// Loads the bytes with each CR LF turned back into LF, from memory; no score, with status 3,
// when they hold a bare LF.
TScoreLoadResult ReadRepairedScore(std::string_view bytes, TScoreFileHeader& header,
                                   const TServices& services) {
  std::optional<std::string> repaired = ConvertCrLfToLf(bytes);
  if (!repaired) {
    TScoreLoadResult result;
    result.status = header.status;
    return result;
  }
  const int size = static_cast<int>(repaired->size());
  TKRVFlatRamStream memory(repaired->data(), size, size);
  TScoreLoadResult result = ReadScoreFromData(memory, header, services);
  result.repaired.textModeDamage = result.score != nullptr;
  return result;
}

}  // namespace

TScoreLoadResult LoadScore(TKRVStream& stream, TScoreFileHeader& header,
                           const TServices& services) {
  header.Reset();
  TScoreLoadResult result;
  const int32_t size = stream.Size();
  if (size == 0 || size == 1) {
    header.status = TLoadStatus::kNew;
    result.status = header.status;
    result.score = NewScoreWithOneStaff(services);
    return result;
  }
  if (!ReadScoreHeader(stream, header)) {
    result.status = header.status;
    return result;
  }
  if (header.formatVersion < kFirstTextBodyVersion) {
    result = ReadOlderScore(stream, header, services);
  } else {
    result = ReadScoreText(stream, services, kScoreTextModeFile);
    if (result.codePage > 0) header.codePage = result.codePage;
    if (!result.score)
      header.status = TLoadStatus::kNotScore;  // the header promised score text and none followed
    else if (stream.IsFailed() || result.status == TLoadStatus::kCorrupt)
      header.status = TLoadStatus::kCorrupt;
  }
  result.status = header.status;
  result.codePage = header.codePage;
  result.formatVersion = header.formatVersion;
  return result;
}

TScoreLoadResult ReadScoreFromFile(const char* path, TScoreFileHeader& header,
                                   const TServices& services) {
  header.Reset();
  TKRVFStream file(kFileModeRead | kFileShareRead, path);
  if (!file.IsOpen()) {
    TScoreLoadResult result;
    result.status = header.status;
    result.fileOpened = false;
    return result;
  }
  return ReadScoreFromData(file, header, services);
}

bool IsTextModeCopyDamage(const char* path, TLoadStatus status) {
  std::string bytes;
  return IsRepairableStatus(status) && ReadWholeFile(path, bytes) &&
         HasCrLfLineEndsOnly(bytes, false);
}

TScoreLoadResult ReadRepairedScoreFile(const char* path, TScoreFileHeader& header,
                                       const TServices& services) {
  header.Reset();
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    TScoreLoadResult result;
    result.status = header.status;
    result.fileOpened = false;
    return result;
  }
  return ReadRepairedScore(bytes, header, services);
}

TScoreLoadResult ReadScoreFromFileRepairing(const char* path, TScoreFileHeader& header,
                                            const TServices& services) {
  TScoreLoadResult result = ReadScoreFromFile(path, header, services);
  std::string bytes;
  if (!result.fileOpened || !IsRepairableStatus(result.status) || !ReadWholeFile(path, bytes) ||
      !HasCrLfLineEndsOnly(bytes, false)) {
    return result;
  }
  // The repair reads into its own header: when it gives no score, the part the first load
  // read stays the result instead of being thrown away.
  TScoreFileHeader repairedHeader;
  TScoreLoadResult repaired = ReadRepairedScore(bytes, repairedHeader, services);
  if (!repaired.score && result.score) return result;
  header = repairedHeader;
  return repaired;
}

bool ReadScoreSettings(TKRVStream& stream, TScoreFileHeader& header, TScoreSettingsBlock& settings) {
  settings = TScoreSettingsBlock();
  header.Reset();
  if (stream.Size() < 2 || !ReadScoreHeader(stream, header)) return false;
  std::unique_ptr<TMusicScore> score;
  if (header.formatVersion >= kFirstTextBodyVersion) {
    TScoreLoadResult text = ReadScoreText(stream, TServices{}, kScoreTextModeFile);
    if (text.codePage > 0) header.codePage = text.codePage;
    score = std::move(text.score);
  } else {
    score = std::make_unique<TMusicScore>();
    header.score = score.get();
    ReadScoreProperties(*score, header, stream);
    header.score = nullptr;
  }
  if (!score) return false;
  CopySettings(*score, settings);
  return !stream.IsError();
}

bool ReadScoreSettings(const char* path, TScoreFileHeader& header, TScoreSettingsBlock& settings) {
  settings = TScoreSettingsBlock();
  header.Reset();
  TKRVFStream file(kFileModeRead | kFileShareRead, path);
  if (!file.IsOpen()) return false;
  TKRVZLibInStream in(TKRVZLibInStream::kModeTagged, &file);
  return ReadScoreSettings(in, header, settings);
}

bool WriteScoreFile(TKRVStream& stream, const TMusicScore& score) {
  TScoreHeaderFields fields;
  fields.fileCode = MakeScoreFileCode(score);
  fields.date = score.GetDate().GetPacked();
  WriteScoreHeader(stream, fields);
  WriteScoreText(stream, score);
  return !stream.IsError();
}

bool WriteScoreToFile(const char* path, bool compressed, const TMusicScore& score,
                      const TSaveBackups& backups, const TServices& services) {
  if (path == nullptr) return false;
  TKVBusyCursor busy(CursorServiceOf(services));
  return WriteFileAtomically(path, backups, [compressed, &score](TKRVStream& file) {
    TKRVZLibOutStream out(compressed ? TKRVZLibInStream::kModeTagged : TKRVZLibInStream::kModePlain,
                          &file);
    bool ok = WriteScoreFile(out, score);
    // The end completes the compressed data and flushes the file: its failure is the save's.
    ok = out.End() && ok;
    return ok;
  });
}

}  // namespace kvt
