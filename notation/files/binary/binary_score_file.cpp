#include "notation/files/binary/binary_score_file.h"

#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "notation/staff/music_staff.h"
#include "notation/items/notated_item.h"
#include "notation/files/older/older_score_reader.h"
#include "notation/files/text/score_text_body.h"
#include "notation/files/text/score_text_format.h"
#include "notation/files/text/score_text_item_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/audit/staff_audit_hook.h"
#include "utils/busy_cursor.h"
#include "utils/crlf_repair.h"
#include "utils/file_stream.h"
#include "utils/flat_ram_stream.h"
#include "utils/seg_ram_stream.h"
#include "utils/stream.h"
#include "utils/zlib_in_stream.h"
#include "utils/zlib_out_stream.h"

namespace kvt {
namespace {

constexpr int kCloneSegmentBytes = 1024;
constexpr int kCompareBufferBytes = 32000;
constexpr int kDrainBlockBytes = 16384;

std::unique_ptr<TMusicScore> NewScoreWithOneStaff() {
  auto score = std::make_unique<TMusicScore>();
  score->AddStaff(std::make_unique<TMusicStaff>());
  return score;
}

// Reads the compressed data to its end: a damaged end (a truncated stream, a wrong check sum)
// shows only there, after the score itself was read.
bool CompressedDataIsWhole(TKRVZLibInStream& in) {
  std::vector<char> block(kDrainBlockBytes);
  while (!in.IsError() && in.Read(block.data(), kDrainBlockBytes) == kDrainBlockBytes) {
  }
  return !in.IsFailed();
}

std::unique_ptr<TMusicScore> ReadOlderBody(TKRVStream& stream, TScoreFileHeader& header,
                                           TSysStatusBar* status) {
  auto score = std::make_unique<TMusicScore>();
  ReadScoreBody(*score, header, stream, status);
  header.score = nullptr;
  if (header.status == kScoreFileOlder) score->SetOldFormatVersion(true);
  if (header.date != 0) score->SetDate(TKVDate(header.date));
  if (stream.IsError() || header.dataFaults > 0) header.status = kScoreFileCorrupt;
  if (score->GetStaffCount() == 0) {
    score->AddStaff(std::make_unique<TMusicStaff>());
    AuditLoadedStaff(*score->GetStaff(0));
  }
  return score;
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
bool IsRepairableStatus(int status) {
  return status == kScoreFileNotScore || status == kScoreFileCorrupt;
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
std::unique_ptr<TMusicScore> ReadScoreFromData(TKRVStream& data, TScoreFileHeader& header,
                                               TSysStatusBar* status) {
  TKVBusyCursor busy;
  TKRVZLibInStream in(TKRVZLibInStream::kModeTagged, &data);
  std::unique_ptr<TMusicScore> score = LoadScore(in, header, status);
  if (!score) return nullptr;
  const bool compressed = in.IsCompressed();
  if (compressed && !CompressedDataIsWhole(in)) header.status = kScoreFileCorrupt;
  score->SetCompressed(compressed);
  return score;
}

// Loads the bytes with each CR LF turned back into LF, from memory; null with status 3 when
// they hold a bare LF.
std::unique_ptr<TMusicScore> ReadRepairedScore(std::string_view bytes, TScoreFileHeader& header,
                                               TSysStatusBar* status) {
  std::optional<std::string> repaired = ConvertCrLfToLf(bytes);
  if (!repaired) return nullptr;
  const int size = static_cast<int>(repaired->size());
  TKRVFlatRamStream memory(repaired->data(), size, size);
  return ReadScoreFromData(memory, header, status);
}

}  // namespace

std::unique_ptr<TMusicScore> LoadScore(TKRVStream& stream, TScoreFileHeader& header,
                                       TSysStatusBar* status) {
  header.Reset();
  const int32_t size = stream.Size();
  if (size == 0 || size == 1) {
    header.status = kScoreFileNew;
    return NewScoreWithOneStaff();
  }
  if (!ReadScoreHeader(stream, header)) return nullptr;
  if (header.formatVersion < kFirstTextBodyVersion) return ReadOlderBody(stream, header, status);

  bool corrupt = false;
  std::unique_ptr<TMusicScore> score = ReadScoreTextBody(stream, header, corrupt);
  if (!score) {
    // The header promised score text and none followed.
    header.status = kScoreFileNotScore;
    return nullptr;
  }
  if (stream.IsFailed() || corrupt) header.status = kScoreFileCorrupt;
  return score;
}

std::unique_ptr<TMusicScore> ReadScoreFromFile(const char* path, TScoreFileHeader& header,
                                               TSysStatusBar* status) {
  header.Reset();
  TKRVFStream file(kFileModeRead | kFileShareRead, path);
  if (!file.IsOpen()) return nullptr;
  return ReadScoreFromData(file, header, status);
}

bool IsTextModeCopyDamage(const char* path, int status) {
  std::string bytes;
  return IsRepairableStatus(status) && ReadWholeFile(path, bytes) &&
         HasCrLfLineEndsOnly(bytes, false);
}

std::unique_ptr<TMusicScore> ReadRepairedScoreFile(const char* path, TScoreFileHeader& header,
                                                   TSysStatusBar* status) {
  header.Reset();
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return nullptr;
  return ReadRepairedScore(bytes, header, status);
}

std::unique_ptr<TMusicScore> ReadScoreFromFileRepairing(const char* path, TScoreFileHeader& header,
                                                        TSysStatusBar* status) {
  std::unique_ptr<TMusicScore> score = ReadScoreFromFile(path, header, status);
  std::string bytes;
  if (!IsRepairableStatus(header.status) || !ReadWholeFile(path, bytes) ||
      !HasCrLfLineEndsOnly(bytes, false)) {
    return score;
  }
  score.reset();
  header.Reset();
  return ReadRepairedScore(bytes, header, status);
}

bool ReadScoreSettings(TKRVStream& stream, TScoreFileHeader& header, TScoreSettingsBlock& settings) {
  settings = TScoreSettingsBlock();
  header.Reset();
  if (stream.Size() < 2 || !ReadScoreHeader(stream, header)) return false;
  std::unique_ptr<TMusicScore> score;
  if (header.formatVersion >= kFirstTextBodyVersion) {
    bool corrupt = false;
    score = ReadScoreTextBody(stream, header, corrupt);
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
  WriteScoreTextBody(stream, score);
  return !stream.IsError();
}

bool WriteScoreToFile(const char* path, bool compressed, const TMusicScore& score,
                      const TSaveBackups& backups) {
  if (path == nullptr) return false;
  TKVBusyCursor busy;
  return WriteFileAtomically(path, backups, [compressed, &score](TKRVStream& file) {
    TKRVZLibOutStream out(compressed ? TKRVZLibInStream::kModeTagged : TKRVZLibInStream::kModePlain,
                          &file);
    bool ok = WriteScoreFile(out, score);
    // The end completes the compressed data and flushes the file: its failure is the save's.
    ok = out.End() && ok;
    return ok;
  });
}

std::unique_ptr<TNotatedItem> CloneItem(const TNotatedItem& item) {
  TKRVSegRamStream buffer(kCloneSegmentBytes);
  WriteItemLine(buffer, &item, kTextModeLone);
  buffer.PutByte(0);
  if (buffer.IsError()) return nullptr;
  // The whole line comes back: the item loader's limit on line length is for lines from files;
  // a copy of an item that holds long texts must not lose their ends.
  std::string line(static_cast<size_t>(buffer.Size()), '\0');
  buffer.Rewind();
  if (buffer.Read(line.data(), buffer.Size()) != buffer.Size()) return nullptr;
  line.resize(std::char_traits<char>::length(line.c_str()));
  TKVTFindTextImporter importer;
  return importer.ReadItemLine(line, kScoreTextVersion);
}

int CompareItems(const TNotatedItem& a, const TNotatedItem& b) {
  std::vector<char> first(kCompareBufferBytes, 0);
  std::vector<char> second(kCompareBufferBytes, 0);
  TKRVFlatRamStream firstStream(first.data(), kCompareBufferBytes, 0);
  TKRVFlatRamStream secondStream(second.data(), kCompareBufferBytes, 0);
  WriteItemLine(firstStream, &a, kTextModeLone);
  WriteItemLine(secondStream, &b, kTextModeLone);
  return std::memcmp(first.data(), second.data(), kCompareBufferBytes);
}

}  // namespace kvt
