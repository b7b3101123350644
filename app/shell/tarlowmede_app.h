#pragma once
// TTarlowmedeApp: the one application object of the editor. It owns what outlives any score
// window: the options, the remembered folders, the error log, the clip offered on the
// clipboard, the last status snapshot and the experimentation flag; it creates the main frame
// and runs the idle step. The settings store is the caller's and outlives the object.
//
// UI thread only, except the error log (error_log.h) and ErrorLogPrintf.

#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

#include "app/shell/admin_confirm.h"
#include "app/shell/app_options.h"
#include "app/shell/error_log.h"
#include "tools/kv_app_base.h"

namespace kvt {

class TSysInfo;
class TTarlowmedeFrame;

// The status snapshot a score window compares its own with at idle time.
struct TEditStatusInfo {
  int32_t activeStaff = 0;
  int32_t caret = 0;
  int32_t anchor = 0;
  int32_t caret2 = 0;
  int32_t insertion = -1;  // -1: no editor
  int32_t durationTool = 0;
  int32_t flags = 0;  // bit 0 the player is active, bit 1 this score plays, bit 2 recording
  bool operator==(const TEditStatusInfo&) const = default;
};

inline constexpr char kAppName[] = "Tarlowmede Razadove";
inline constexpr char kProductVersion[] = "2.75";

class TTarlowmedeApp final : public TKVAppBase {
public:
  // Sets LC_NUMERIC back to "C" (the application object takes the user's locale) and loads the
  // options. argc and argv must outlive the object.
  TTarlowmedeApp(int& argc, char** argv, TSysInfo& settings);
  // Saves the options.
  ~TTarlowmedeApp() override;

  // The running application object, or null.
  static TTarlowmedeApp* Running();

  // Creates the main frame (not shown) once and remembers the score and MIDI folders.
  TTarlowmedeFrame& InitMainWindow();
  TTarlowmedeFrame* Frame() const { return frame; }

  TSysInfo& Settings() { return settings; }
  TAppOptions& Options() { return options; }
  // Saves the options, the "Version" value of the product key; false when a write failed.
  bool SaveOptions();
  TKVErrorLog& ErrorLog() { return errorLog; }

  bool IsExperimentationEnabled() const { return experimentation; }
  void SetExperimentation(bool on) { experimentation = on; }

  // Folders (app_folders.h) and the two remembered for the file dialogs (0 scores, 1 MIDI).
  std::string GetFolder(int kind, bool noDefault = false);
  bool SetFolder(int kind, const std::string& path);
  std::string& RememberedFolder(int which) { return remembered[which == 0 ? 0 : 1]; }
  bool IsPathInProgramFolder(const std::string& path) const;
  // Asks before an action that may need administrator rights (admin_confirm.h); true to go on.
  bool ConfirmAdminAction(const std::string& action = kDefaultAdminAction);

  TEditStatusInfo& LastStatus() { return lastStatus; }

  // The number of alerts counted as seen (the alert log dialog selects the first after it).
  uint32_t AlertsSeen() const { return alertsSeen; }
  void SetAlertsSeen(uint32_t seen) { alertsSeen = seen; }

  // The idle step: the active score window refreshes its status snapshot; with none, the
  // snapshot is cleared once. Runs when the event loop is about to block after handling
  // events, once per such round.
  void IdleAction();
  int IdleCount() const { return idleRuns; }

private:
  void StartIdleStep();

  TSysInfo& settings;
  TAppOptions options;
  TKVErrorLog errorLog;
  TTarlowmedeFrame* frame = nullptr;  // owned: deleted with the object
  bool experimentation = false;
  std::string remembered[2];
  TEditStatusInfo lastStatus;
  uint32_t alertsSeen = 0;
  bool eventsSinceIdle = true;
  int idleRuns = 0;
  TAdminConfirm adminConfirm;
};

// Adds a formatted line to the running application's error log; nothing without one. Any
// thread.
void ErrorLogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kvt
