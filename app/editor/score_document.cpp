#include "app/editor/score_document.h"

#include <cstdio>

#include <string>
#include <utility>

#include "app/editor/score_window_host.h"
#include "app/editor/score_window_names.h"
#include "notation/audit/staff_audit.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tools/message_box_service.h"
#include "utils/alert_log.h"
#include "utils/path_utils.h"
#include "utils/string_list.h"
#include "utils/sys_status_bar.h"

namespace kvt {

TScoreDocument::TScoreDocument(TScoreWindowHost& host, std::string path,
                               std::unique_ptr<TMusicScore> newScore, int openMode, bool hasFile,
                               TAutosaveClaim recoveredClaim)
    : host(host), score(std::move(newScore)), openMode(openMode), untitled(!hasFile) {
  if (!score) score = std::make_unique<TMusicScore>();
  AuditScore(*score, false, host.Services());

  TOpenedName opened = InterpretOpenedPath(path, openMode);
  textFormat = opened.textFormat;
  fileName = std::move(opened.fileName);
  if (opened.autosave) {
    // A recovered window writes its autosaves back to the file it came from, but only while it
    // holds that file: one another instance holds stays untouched.
    if (recoveredClaim.IsHeld() && recoveredClaim.Path() == path) {
      autosave = std::move(recoveredClaim);
    } else {
      host.AutosaveStore().ClaimExisting(path, autosave);
    }
    fileName = RecoveredFileName(host.NextRecoveredNumber());
    untitled = true;
    forcedModified = true;
    autosavePending = true;
  }
  ReportNewScore();
}

TScoreDocument::~TScoreDocument() { autosave.Remove(); }

void TScoreDocument::ReportNewScore() {
  const std::string name(GetFileNamePart(fileName));
  TKVStringList missing(64, true);
  score->CollectMissingFonts(missing, host.Services());
  for (int i = 0; i < missing.GetCount(); ++i) {
    host.AlertLog().AddLine("Missing font '" + std::string(missing.GetItem(i)) +
                            "' referenced by " + name);
  }
  const int unknown = score->CountMissingUserObjectTypes(host.Services());
  if (unknown > 0) {
    host.AlertLog().AddLine("Detected " + std::to_string(unknown) + " unknown user objects in " +
                            name);
  }
}

void TScoreDocument::AttachClient(TScoreDocumentClient* newClient) {
  client = newClient;
  if (client != nullptr) savedSerial = client->StateSerial();
}

bool TScoreDocument::IsSelector() const { return IsSelectorName(fileName); }

bool TScoreDocument::IsModified() const {
  if (forcedModified) return true;
  return client != nullptr && client->StateSerial() != savedSerial;
}

void TScoreDocument::SetModified(bool force) {
  if (force) forcedModified = true;
  autosavePending = true;
  if (client != nullptr) client->TitleChanged();
}

void TScoreDocument::MarkSaved() {
  if (client != nullptr) savedSerial = client->StateSerial();
  forcedModified = false;
  autosavePending = false;
  autosave.Remove();
  if (client != nullptr) client->TitleChanged();
}

std::string TScoreDocument::Title() const {
  std::string title = DisplayNameOf(fileName);
  if (IsModified()) title += " *";
  return title;
}

bool TScoreDocument::IsFile(const std::string& path) const { return !untitled && fileName == path; }

std::string TScoreDocument::ShortName() const { return std::string(GetFileNamePart(fileName)); }

void TScoreDocument::ShowStatus(const std::string& text) {
  SysStatusBarOf(host.Services()).ShowStatusText(text, true);
}

void TScoreDocument::Revert() {
  if (IsSelector()) {
    ResetSelector();
    return;
  }
  if (untitled) return;
  if (IsModified()) {
    const int answer = host.MessageBox(
        MB_OKCANCEL | MB_ICONQUESTION, "Reload File",
        DisplayNameOf(fileName) +
            "\n\nYou have made unsaved changes to this file. These changes will be lost.\n\n"
            "Are you sure you want to reload this file?");
    if (answer != IDOK) return;
  }
  ReloadFromFile(fileName, kOpenModeRevert);
}

void TScoreDocument::ResetSelector() {
  if (host.MessageBox(MB_OKCANCEL | MB_ICONQUESTION, "Reset Selector",
                      "This will reset the selector back to factory defaults.") != IDOK)
    return;
  const int number = SelectorNumberOf(fileName);
  if (number >= 0) std::remove(host.SelectorFilePath(number).c_str());
  // The program carries no factory scores for selectors: the default is one new staff.
  auto fresh = std::make_unique<TMusicScore>();
  fresh->AddStaff(std::make_unique<TMusicStaff>());
  ReplaceScore(std::move(fresh));
  host.SelectorsChanged();
}

bool TScoreDocument::ReloadFromFile(const std::string& path, int mode) {
  std::unique_ptr<TMusicScore> loaded = host.LoadScoreFile(path, mode);
  if (!loaded) return false;
  ReplaceScore(std::move(loaded));
  return true;
}

void TScoreDocument::ReplaceScore(std::unique_ptr<TMusicScore> newScore) {
  if (!newScore) return;
  if (IsPlayingHere()) host.StopPlay();
  // The view lets go of the old score while it still exists; it goes at the end of this scope.
  std::unique_ptr<TMusicScore> old = std::exchange(score, std::move(newScore));
  if (client != nullptr) client->ScoreReplaced();
  MarkSaved();
}

bool TScoreDocument::CanClose() {
  if (IsPlayingHere()) host.StopPlay();
  if (!IsModified()) return true;
  const int answer = host.MessageBox(
      MB_YESNOCANCEL | MB_ICONQUESTION, "Save Confirmation",
      DisplayNameOf(fileName) + ":\n\nThis file has changed.\nDo you wish to save it?");
  if (answer == IDNO) return true;
  if (answer != IDYES) return false;
  // Only a real save lets the window go: a declined question or a failed write keeps it.
  return (untitled ? SaveAs() : Save()) == TSaveResult::kSaved;
}

}  // namespace kvt
