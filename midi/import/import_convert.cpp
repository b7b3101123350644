#include "midi/import/import_convert.h"

#include <bitset>
#include <cstdio>
#include <string>
#include <vector>

#include "midi/import/import_converter.h"
#include "midi/import/import_finish.h"
#include "midi/import/import_shell.h"
#include "notation/services/long_task_cancel.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "utils/alert_log.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

constexpr char kConvertStatus[] = "Converting MIDI data to notation";

class TScoreBuilder {
public:
  TScoreBuilder(TMusicScore& score, TMidiImportShell& shell) : score(score), shell(shell) {}

  // Adds the staff; false (the staff dropped, one notice) when the score is full.
  bool Add(std::unique_ptr<TMusicStaff>& staff, const TSMFImportInstructions& instruction) {
    if (score.TryAddStaff(staff)) {
      // Staff i + 1 of the score (after the conductor) finishes with instructions[i].
      instructions.push_back(instruction);
      return true;
    }
    if (!warnedFull) {
      warnedFull = true;
      shell.Alerts().AddLine(
          "MIDI import: the score holds no more staves; the remaining instructions and lyrics "
          "were not imported.");
    }
    return false;
  }

  void NoteCut(const TMidiImportConverter& converter, int track) {
    if (!converter.WasCut()) return;
    char line[160];
    std::snprintf(line, sizeof line,
                  "MIDI import: a staff from track %d is full; the rest of that track was not "
                  "imported.",
                  track);
    shell.Alerts().AddLine(line);
  }

  std::vector<TSMFImportInstructions> instructions;

private:
  TMusicScore& score;
  TMidiImportShell& shell;
  bool warnedFull = false;
};

TScoreSongInfo SongInfoOf(const TKVTImportData& data) {
  TScoreSongInfo info;
  const TKVMultiField& texts = data.GetTexts();
  info.Set(kSongTitle, Utf8ToUtf16(texts.GetItem(kSMFTitle)));
  info.Set(kSongAuthor, Utf8ToUtf16(texts.GetItem(kSMFAuthor)));
  info.Set(kSongCopyright1, Utf8ToUtf16(texts.GetItem(kSMFCopyright1)));
  info.Set(kSongCopyright2, Utf8ToUtf16(texts.GetItem(kSMFCopyright2)));
  return info;
}

}  // namespace

std::unique_ptr<TMusicScore> ConvertImportToScore(TKVTImportData& data, int lyricMode,
                                                  const TServices& services,
                                                  TMidiImportShell* shellOrNull,
                                                  bool* cancelledOut) {
  TMidiImportShell& shell = ImportShellOr(shellOrNull);
  bool cancelled = false;
  const TScoreSongInfo info = SongInfoOf(data);
  auto score = std::make_unique<TMusicScore>(&info, services);
  TScoreBuilder builder(*score, shell);
  TMidiImportConverter converter(services);

  std::unique_ptr<TMusicStaff> conductor = converter.BuildConductor(data.GetTrack(0));
  cancelled = converter.WasCancelled();
  score->TryAddStaff(conductor);

  const bool withLyrics = lyricMode == kImportLyricEvents || lyricMode == kImportKaraoke;
  const int lyricTracks = std::min(data.GetTrackCount(), kImportMaxTrack + 1);
  std::bitset<kImportMaxTrack + 1> hasLyrics;
  if (withLyrics)
    for (int t = 0; t < lyricTracks; ++t)
      hasLyrics[static_cast<size_t>(t)] = data.GetTrack(t)->HasTextAfterStart(lyricMode);
  const TSMFImportInstructionList& list = data.GetInstructions();
  const int range = static_cast<int>(list.size() + hasLyrics.count());
  int step = 0;
  shell.ShowProgress(kConvertStatus, step, range);

  std::bitset<kImportMaxTrack + 1> taken;
  const TSMFImportInstructions lyricInstruction;
  auto addLyricStaff = [&](int track, bool layerAfter) {
    bool got = false;
    std::unique_ptr<TMusicStaff> lyrics =
        converter.BuildLyricStaff(*data.GetTrack(track), lyricMode, got);
    cancelled = cancelled || converter.WasCancelled();
    if (!got || cancelled) return;
    if (layerAfter) score->GetStaff(score->GetLastIndex())->SetLayerWithNext(true);
    score->MakeStaffNameUnique(*lyrics);
    if (!builder.Add(lyrics, lyricInstruction) && layerAfter)
      score->GetStaff(score->GetLastIndex())->SetLayerWithNext(false);
  };
  for (const TSMFImportInstructions& instruction : list) {
    if (cancelled) break;
    const TSMFTrackData* track = data.GetTrack(instruction.track);
    std::unique_ptr<TMusicStaff> staff = converter.BuildInstructionStaff(instruction, track);
    cancelled = converter.WasCancelled();
    builder.NoteCut(converter, instruction.track);
    if (cancelled || !builder.Add(staff, instruction)) break;
    const size_t t = instruction.track;
    if (withLyrics && hasLyrics[t] && !taken[t]) {
      taken[t] = true;
      addLyricStaff(instruction.track, true);
    }
    shell.ShowProgress(kConvertStatus, ++step, range);
  }
  if (withLyrics && !cancelled) {
    for (int t = 0; t < lyricTracks && !cancelled; ++t) {
      if (!hasLyrics[static_cast<size_t>(t)] || taken[static_cast<size_t>(t)]) continue;
      taken[static_cast<size_t>(t)] = true;
      addLyricStaff(t, false);
      shell.ShowProgress(kConvertStatus, ++step, range);
    }
  }
  cancelled = cancelled || LongTaskCancelOf(services).CheckCancel();
  if (!cancelled) cancelled = !FinishImportScore(*score, builder.instructions, services);
  if (score->GetStaffCount() == 0) score->AddStaff(std::make_unique<TMusicStaff>());
  if (cancelledOut) *cancelledOut = cancelled;
  return score;
}

std::unique_ptr<TMusicStaff> ConvertInstructionToStaff(TKVTImportData& data,
                                                       const TSMFImportInstructions& instruction,
                                                       const TServices& services,
                                                       TMidiImportShell* shell) {
  TSMFImportInstructionList saved;
  saved.swap(data.GetInstructions());
  data.GetInstructions().assign(1, instruction);
  bool cancelled = false;
  std::unique_ptr<TMusicScore> score =
      ConvertImportToScore(data, kImportLyricEvents, services, shell, &cancelled);
  data.GetInstructions().swap(saved);
  if (cancelled || score->GetStaffCount() == 0) return nullptr;
  std::unique_ptr<TMusicStaff> staff = score->DetachStaff(0);
  staff->SetBoundaries(staff->GetBoundaryTop() + 4, staff->GetBoundaryBottom());
  return staff;
}

}  // namespace kvt
