#include "midi/import/import_midi_file.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "midi/import/import_convert.h"
#include "midi/import/import_converter.h"
#include "midi/import/import_shell.h"
#include "midi/smf/smf_import.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "utils/buffered_file_stream.h"
#include "utils/busy_cursor.h"
#include "utils/cursor_service.h"
#include "utils/file_stream.h"
#include "utils/flat_ram_stream.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

std::string Formatted(const char* format, const std::string& path) {
  std::string text(path.size() + 512, '\0');
  const int n = std::snprintf(text.data(), text.size(), format, path.c_str());
  text.resize(static_cast<size_t>(std::max(n, 0)) < text.size()
                  ? static_cast<size_t>(std::max(n, 0))
                  : text.size() - 1);
  return text;
}

// Instructions from a scan with the data's own options.
void ScanWithOptions(TKVTImportData& data) {
  const TImportOptions& options = data.GetOptions();
  ScanImportInstructions(data, options.extractChannels != 0, options.maxChordSize);
}

// The converted score; null when the user cancelled the conversion.
std::unique_ptr<TMusicScore> ConvertUnlessCancelled(TKVTImportData& data, int lyricMode,
                                                    const TServices& services,
                                                    TMidiImportShell& shell) {
  bool cancelled = false;
  std::unique_ptr<TMusicScore> score =
      ConvertImportToScore(data, lyricMode, services, &shell, &cancelled);
  if (cancelled) return nullptr;
  return score;
}

}  // namespace

int LyricModeForPath(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return kImportLyricEvents;
  std::string ext = path.substr(dot);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == ".kar" ? kImportKaraoke : kImportLyricEvents;
}

std::unique_ptr<TMusicScore> ImportMidiFile(TMidiImportShell* shellOrNull, const std::string& path,
                                            int mode, TSysInfo* settings,
                                            const TServices& services) {
  TMidiImportShell& shell = ImportShellOr(shellOrNull);
  TKVTImportData data(settings);
  const int lyricMode = LyricModeForPath(path);
  shell.ShowStatus(Formatted("Loading file: %s", path));
  TKRVBFStream input(kFileModeRead | kFileShareRead, path.c_str(), 1024);
  if (!input.IsOpen()) {
    shell.ShowMessage(Formatted(
        "File: %s\nThis file failed to open. It either does not exist, is in use by another "
        "program, or is protected by the operating system.",
        path));
    return nullptr;
  }
  char logBuffer[kImportLogBytes + 2] = {};
  TKRVFlatRamStream log(logBuffer, kImportLogBytes, 0);
  {
    TKVBusyCursor wait(CursorServiceOf(services));
    ImportSMF(data, input, &log, services);
  }
  if (log.Size() > 0) {
    std::string_view excerpt(logBuffer, static_cast<size_t>(log.Size()));
    excerpt = excerpt.substr(0, Utf8CompleteLength(excerpt));
    if (!shell.AskYesNo(std::string(excerpt), kImportWarningsCaption, TQuestionIcon::kInformation))
      return nullptr;
  }
  ScanWithOptions(data);
  if (mode == kImportModeWizard || shell.UseImportWizard()) {
    if (!shell.RunImportWizard(data)) return nullptr;
  }
  return ConvertUnlessCancelled(data, lyricMode, services, shell);
}

std::unique_ptr<TMusicScore> ConvertRecordingToScore(TMidiImportShell* shellOrNull,
                                                     TSysInfo* settings,
                                                     const TServices& services) {
  TMidiImportShell& shell = ImportShellOr(shellOrNull);
  TKVTImportData* recording = shell.GetRecordingData();
  if (!recording) return nullptr;
  recording->GetOptions().Load(settings);
  ScanWithOptions(*recording);
  if (recording->GetInstructions().empty()) return nullptr;
  recording->ApplyOptionsToInstructions();
  return ConvertUnlessCancelled(*recording, kImportNoLyrics, services, shell);
}

std::unique_ptr<TMusicStaff> ConvertRecordingToStaff(TMidiImportShell* shellOrNull,
                                                     TSysInfo* settings,
                                                     const TServices& services) {
  TMidiImportShell& shell = ImportShellOr(shellOrNull);
  TKVTImportData* recording = shell.GetRecordingData();
  if (!recording) return nullptr;
  recording->GetOptions().Load(settings);
  const TSMFTrackData* take = recording->GetTrack(0);
  if (!take) return nullptr;
  const TMidiFileBuf& events = take->GetEvents();
  const uint16_t channels = events.GetChannelsUsed(0xFF, 0xFFFF);
  const int low = events.GetLowestNote(0xFFFF);
  const int high = events.GetHighestNote(0xFFFF);
  // Nothing recorded: no instruction to edit and no staff to make.
  if (channels == 0 || low < 0 || high < 0) return nullptr;
  TSMFImportInstructions instruction;
  instruction.track = 0;
  instruction.channelMask = channels;
  instruction.lowPitch = static_cast<uint8_t>(std::clamp(low, 0, 127));
  instruction.highPitch = static_cast<uint8_t>(std::clamp(high, 0, 127));
  recording->GetOptions().ApplyTo(instruction);
  if (!shell.EditImportInstruction(instruction, 0, true)) return nullptr;
  return ConvertInstructionToStaff(*recording, instruction, services, &shell);
}

}  // namespace kvt
