// Play, Record, Staff Play and the media keys of a score window.

#include <string>

#include "app/editor/midi_device_messages.h"
#include "app/editor/play_start_tick.h"
#include "app/editor/score_document.h"
#include "app/editor/score_window_host.h"
#include "midi/play/midi_playback_service.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tools/message_box_service.h"

namespace kvt {
namespace {

TMidiPlaybackService& PlaybackOf(TScoreWindowHost& host) {
  return MidiPlaybackServiceOf(host.Services());
}

}  // namespace

bool TScoreDocument::IsPlayingHere() const { return host.PlayingDocument() == this; }

void TScoreDocument::Play(int command) {
  TMidiPlaybackService& playback = PlaybackOf(host);
  // Play while something plays stops it, or resumes it when paused.
  if (host.PlayingDocument() != nullptr || playback.IsPlaying()) {
    if (playback.IsPaused()) {
      playback.TogglePause();
    } else {
      host.StopPlay();
    }
    return;
  }
  const bool record = command == kCmdRecord;
  const int activeStaff = client != nullptr ? client->ActiveStaff() : -1;
  TMusicStaff* staff = score->GetStaff(activeStaff);
  const int soloStaff = command == kCmdStaffPlay && staff != nullptr ? activeStaff : -1;

  if (soloStaff >= 0 && staff->IsMuted()) {
    if (host.MessageBox(MB_OKCANCEL | MB_ICONQUESTION, "Midi Play Warning",
                        "This staff is currently muted. It will be performed as though it is "
                        "not muted.") != IDOK) {
      return;
    }
  }
  if (record && !host.HasRecordSource()) {
    if (host.MessageBox(MB_YESNO | MB_ICONQUESTION, kNoRecordDeviceCaption, kNoRecordDeviceText) !=
        IDYES) {
      return;
    }
    host.ShowOptions(TOptionsPage::kRecording);
  }
  if (!host.HasPlayDevices()) {
    const int answer = host.MessageBox(
        MB_YESNOCANCEL | MB_ICONQUESTION, "No MIDI Play Devices",
        "There are not currently any selected devices which can be used in the play back of "
        "this score. Devices are selected from the Options command on the Tools menu.\n\nWould "
        "you like to configure now?");
    if (answer == IDCANCEL) return;
    if (answer == IDYES) host.ShowOptions(TOptionsPage::kMidiDevices);
  }
  const TPlayDevicesOpen opened = host.OpenPlayDevices(record);
  if (opened.outputFailed &&
      host.MessageBox(MB_YESNO | MB_ICONQUESTION, "Midi Device Warning",
                      "One or more of your selected MIDI devices are failing to open.\n\nWould "
                      "you like to go to the MIDI options tab to investigate?") == IDYES) {
    host.ShowOptions(TOptionsPage::kMidiDevices);
  }
  if (record && opened.inputFailed &&
      host.MessageBox(MB_YESNO | MB_ICONQUESTION, kMidiDeviceWarningCaption, kInputFailingText) ==
          IDYES) {
    host.ShowOptions(TOptionsPage::kRecording);
  }

  ShowStatus("Compiling...");
  const TScoreWindowOptions options = host.Options();
  int32_t startTick = 0;
  if (options.playFromCaret && !record && client != nullptr) {
    startTick = PlayStartTick(staff, client->CaretIndex(), options.playStart);
  }
  if (!host.CompilePlay(*score, startTick, soloStaff)) {
    host.MessageBox(MB_OK | MB_ICONEXCLAMATION, "Midi Play Warning",
                    "Midi Data Overflow Detected.\n\nThis song is too large to be played back in "
                    "its entirety. You may need to split the song into separate files in order to "
                    "play it back successfully.");
  }
  ShowStatus("Initiating play sequence");
  if (!host.StartPlay(*this, startTick, record)) {
    ShowStatus("");
    host.MessageBox(MB_OK | MB_ICONEXCLAMATION, "Play Failed", "Initiate Play Failed");
    return;
  }
  ShowStatus("");
  if (client != nullptr) client->PlayStarted();
}

void TScoreDocument::MediaKey(TMediaKey key) {
  TMidiPlaybackService& playback = PlaybackOf(host);
  const bool playing = host.PlayingDocument() != nullptr || playback.IsPlaying();
  switch (key) {
    case TMediaKey::kBack:
      if (client != nullptr) client->ScrollByKey(-1);
      break;
    case TMediaKey::kForward:
      if (client != nullptr) client->ScrollByKey(1);
      break;
    case TMediaKey::kHome:
      if (client != nullptr) client->ScrollByKey(0);
      break;
    case TMediaKey::kStop: host.StopPlay(); break;
    case TMediaKey::kPlayPause:
      if (playing) {
        playback.TogglePause();
      } else {
        Play(kCmdPlay);
      }
      break;
    case TMediaKey::kPlay: Play(kCmdPlay); break;
    case TMediaKey::kPause:
      if (playing) playback.TogglePause();
      break;
  }
}

}  // namespace kvt
