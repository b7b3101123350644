#include "app/command_line_convert.h"

#include <memory>

#include "app/convert_file_kind.h"
#include "app/convert_load.h"
#include "app/score_info_report.h"
#include "notation/files/binary/binary_score_file.h"
#include "midi/smf/midi_export.h"
#include "notation/staff/music_score.h"
#include "utils/atomic_file_write.h"
#include "notation/files/binary/score_file_header.h"
#include "notation/files/text/score_text_file.h"
#include "notation/services/services.h"
#include "utils/stream.h"

namespace kvt {

namespace {

bool WriteReportFile(const std::string& path, const std::string& report) {
  return WriteFileAtomically(path, TSaveBackups{}, [&report](TKRVStream& file) {
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
  const TServices services;
  std::unique_ptr<TMusicScore> score = LoadScoreToConvert(binaryInput, inputPath, header, services, messages);
  if (score == nullptr) return 1;

  const std::string creationFailed =
      "Error: The creation of file \"" + outputPath + "\" caused an error.";
  bool written = false;
  switch (outputKind) {
    case kConvertBinaryScore:
      written = WriteScoreToFile(outputPath.c_str(), true, *score);
      if (!written) messages += creationFailed + "\n";
      break;
    case kConvertTextScore:
      written = SaveTextScoreFile(outputPath, *score);
      if (!written) messages += creationFailed;
      break;
    case kConvertMidiFile:
      // The converter has no windows: the headless services.
      written = ExportMidiFile(*score, outputPath, options.midiFileType, TServices());
      if (!written) messages += "Error: The file \"" + outputPath + "\" could not be created.\n";
      break;
    case kConvertInfoReport: {
      const std::string report = FormatScoreInfoReport(*score, binaryInput ? &header : nullptr);
      written = WriteReportFile(outputPath, report);
      // A report that could not be written is a failure like any other output.
      if (!written) messages += creationFailed;
      break;
    }
    default:
      break;
  }
  return written ? 0 : 1;
}

}  // namespace kvt
