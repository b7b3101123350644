#include "app/shell/editor_start.h"

#include <QTimer>
#include <cstdlib>

#include "app/shell/app_folders.h"
#include "app/shell/main_frame.h"
#include "app/shell/private_fonts.h"
#include "app/shell/single_instance.h"
#include "app/shell/tarlowmede_app.h"
#include "app/shell/window_placement_setting.h"
#include "app/start_arguments.h"
#include "platform/fontconfig_font_catalog.h"
#include "platform/music_font_loader.h"
#include "tools/format_message_box.h"
#include "tools/message_box_service.h"
#include "utils/path_utils.h"

namespace kvt {

namespace {

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && value[0] != '\0';
}

// The second start's arguments as the running instance takes them: paths made absolute,
// since the two do not share a working folder.
std::vector<THandOverEntry> HandOverEntries(const std::vector<std::string>& arguments) {
  std::vector<THandOverEntry> entries;
  for (const std::string& argument : arguments) {
    std::string text = argument;
    const bool isPath = !WalkStartArguments({argument}).paths.empty();
    if (isPath) MakeAbsolutePath(text);
    entries.push_back({THandOverKind::kArgument, text});
  }
  return entries;
}

void CheckMusicFont() {
  if (LoadMusicFont()) return;
  // The editor still runs: text and files work, only the music symbols are missing.
  FormatMessageBox(nullptr, MB_OK | MB_ICONEXCLAMATION, "Font Error",
                   "The KVT2STDA music font (bravura.otf) cannot be found on the system.\n\n"
                   "The font was added to this program during the setup process. It has either "
                   "been removed, or the system did not accept it.\n\nYou can correct this "
                   "problem by running setup again.");
}

}  // namespace

bool HasDisplay() {
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

int RunEditor(int& argc, char** argv, const std::vector<std::string>& arguments,
              TSysInfo& settings) {
  const std::string socketPath = SingleInstanceSocketPath();
  if (!socketPath.empty() && !IsNewInstanceRequest(arguments) &&
      HandOverToRunningInstance(socketPath, HandOverEntries(arguments)))
    return 1;
  if (!HasDisplay()) return kEditorNoDisplay;

  TTarlowmedeApp app(argc, argv, settings);
  CheckMusicFont();
  TFontconfigFontCatalog installedFonts;
  LoadPrivateFonts(GetProgramDataFolder(), installedFonts);

  TTarlowmedeFrame& frame = app.InitMainWindow();
  TSingleInstanceServer server(
      socketPath, [&frame](std::vector<THandOverEntry> entries) { frame.HandleHandOver(entries); });
  // Without the listener (another instance took the name first, or the socket's folder is not
  // ours) this one runs on its own.
  if (socketPath.empty())
    app.ErrorLog().Printf(
        "The folder %s is not private to this user: this instance runs on "
        "its own and does not take files from a second start.",
        TemporaryRuntimeFolder().c_str());
  else
    server.Listen();

  if (!LoadWindowPlacement(settings, frame, kMainPlacementName)) frame.showMaximized();
  QTimer::singleShot(0, &frame, [&frame, &arguments] { frame.PostCreate(arguments); });
  return app.exec();
}

}  // namespace kvt
