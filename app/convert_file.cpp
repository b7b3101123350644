#include "app/command_line_convert.h"

#include <memory>

#include "app/convert_file_kind.h"
#include "app/kvt_file_repair.h"
#include "app/score_info_report.h"
#include "notation/binary_score_file.h"
#include "notation/midi/midi_export.h"
#include "notation/music_score.h"
#include "notation/safe_file_save.h"
#include "notation/score_file_header.h"
#include "notation/score_text_reader.h"
#include "notation/score_text_writer.h"
#include "utils/file_stream.h"
#include "utils/stream.h"
#include "utils/zlib_in_stream.h"

namespace kvt {

namespace {

// Every file and reading mode of the converter: the mode all file opens use.
constexpr int kReadAllMode = -1;

std::unique_ptr<TMusicScore> LoadBinaryScore(const std::string& path, TScoreFileHeader& header,
                                             std::string& messages) {
  std::unique_ptr<TMusicScore> score = LoadKvtFileRepairing(path.c_str(), header);
  // A partial score is no conversion: what is missing would be missing silently.
  if (score != nullptr && header.status != kScoreLoadCorrupt) return score;
  messages += "Error: The file \"" + path;
  switch (header.status) {
    case kScoreLoadNotScore:
      messages += "\" does not appear to be a valid Tarlowmede Razadove file.";
      break;
    case kScoreLoadCorrupt:
      messages += "\" appears to be corrupt.\n";
      break;
    default:
      messages += "\" appears to be from a new version of Tarlowmede Razadove.";
      break;
  }
  return nullptr;
}

std::unique_ptr<TMusicScore> LoadTextScore(const std::string& path, TScoreFileHeader& header,
                                           std::string& messages) {
  TKRVFStream file(kFileModeRead | kFileShareRead, path.c_str());
  if (file.IsError()) {
    messages += "Error: The file \"" + path + "\" could not be opened.";
    return nullptr;
  }
  TKRVZLibInStream text(TKRVZLibInStream::kModeGzip, &file);
  std::unique_ptr<TMusicScore> score = ReadScoreText(text, &header, kReadAllMode);
  if (score == nullptr) {
    messages += "Error: The file \"" + path + "\" could not be processed.";
    return nullptr;
  }
  // Text cut before its end line, or compressed data that broke off, loads only in part.
  if (header.status == kScoreLoadCorrupt || text.IsFailed() || file.IsFailed()) {
    messages += "Error: The file \"" + path + "\" appears to be corrupt.\n";
    return nullptr;
  }
  return score;
}

bool WriteTextScoreFile(const std::string& path, const TMusicScore& score) {
  return SaveFileSafely(path, TSaveBackups{}, [&score](TKRVStream& file) {
    WriteScoreText(file, score);
    return !file.IsError();
  });
}

bool WriteReportFile(const std::string& path, const std::string& report) {
  return SaveFileSafely(path, TSaveBackups{}, [&report](TKRVStream& file) {
    file.Write(report.data(), static_cast<int>(report.size()));
    return !file.IsError();
  });
}

}  // namespace

int ConvertFile(int inputKind, int outputKind, const std::string& inputPath,
                const std::string& outputPath, const TConvertOptions& options,
                std::string& messages) {
  TScoreFileHeader header;
  const bool binaryInput = inputKind == kConvertBinaryScore;
  std::unique_ptr<TMusicScore> score = binaryInput ? LoadBinaryScore(inputPath, header, messages)
                                                   : LoadTextScore(inputPath, header, messages);
  if (score == nullptr) return 1;

  bool written = false;
  switch (outputKind) {
    case kConvertBinaryScore:
      written = WriteScoreToFile(outputPath.c_str(), true, *score);
      if (!written) messages += "Error: The creation of file \"" + outputPath + "\" caused an error.\n";
      break;
    case kConvertTextScore:
      written = WriteTextScoreFile(outputPath, *score);
      if (!written) messages += "Error: The creation of file \"" + outputPath + "\" caused an error.";
      break;
    case kConvertMidiFile:
      written = ExportMidiFile(*score, outputPath.c_str(), options.midiFileType);
      if (!written) messages += "Error: The file \"" + outputPath + "\" could not be created.\n";
      break;
    case kConvertInfoReport:
      written = WriteReportFile(outputPath, FormatScoreInfoReport(*score, binaryInput ? &header : nullptr));
      // A report that could not be written is a failure like any other output.
      if (!written) messages += "Error: The creation of file \"" + outputPath + "\" caused an error.";
      break;
    default:
      break;
  }
  return written ? 0 : 1;
}

}  // namespace kvt
