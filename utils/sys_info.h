#pragma once
// TSysInfo: the program's one settings store, with the application-wide wait cursor count, the
// stack of status-bar messages and the system queries. The application makes one instance at
// start, with the status bar and cursor service its status stack and waits show through (the
// null ones for a run without windows), and gives it the company and product names
// (SetProfileLocation) before anything reads a setting.
//
// Where the settings live:
// - registry mode (the mode at construction): one ini file per product,
//   $XDG_CONFIG_HOME/<company>/<product>.ini ($XDG_CONFIG_HOME unset, empty or relative:
//   $HOME/.config), fixed when SetProfileLocation is called. Sections of the file are the
//   section keys, typed as TKey describes: integers read back only from integer texts (so
//   GetProfileInt of a text value gives the default, as a text value in the registry would),
//   texts read back exactly as written, binary values as hex text of the caller's size.
// - ini mode: the product name is the path of an ini file, read and written with the
//   private-profile rules (private_profile.h, profile_hex.h). Nothing switches the program to
//   this mode; it exists for a build that keeps its settings beside the program.
// The file is kept parsed and every change is written through at once, atomically (see
// TIniProfile); a flush is therefore never needed, and the null write that ends a burst of
// ini-mode writes succeeds without touching the file. A file that cannot be read (or is not
// there) gives every read its default; an unreadable file is never overwritten.
//
// Company and product names are single folder and file names: empty names, "." and "..",
// names holding "/" and names too long for a file name leave the store without a location
// (reads give defaults, writes fail).
//
// Not thread-safe: the UI thread owns the store. The status bar and cursor service it was made
// with must outlive it; the states left on the stack end their waits when the store is
// destroyed.

#include "utils/cursor_service.h"
#include "utils/ini_file_io.h"
#include "utils/ini_profile.h"
#include "utils/registry_key.h"
#include "utils/status_state.h"
#include "utils/sys_status_bar.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvt {

class TSysInfo {
public:
  static constexpr int kStatusStackLimit = 20;

  // io: the file operations; null for the real ones. statusBar and cursor: where the status
  // stack shows its top text and what shows the wait cursor; null for the null ones. None is
  // owned; each must outlive the store.
  explicit TSysInfo(TIniFileIo* io = nullptr, TSysStatusBar* statusBar = nullptr,
                    ICursorService* cursor = nullptr);
  ~TSysInfo();
  TSysInfo(const TSysInfo&) = delete;
  TSysInfo& operator=(const TSysInfo&) = delete;

  // --- where the settings live
  // Copies both names (null: none); in ini mode the product name is the ini file path.
  void SetProfileLocation(const char* company, const char* product);
  // Registry mode (true, the default) or ini mode (false); the location is kept.
  void SetRegistryMode(bool registry);
  bool IsRegistryMode() const { return registryMode; }
  const std::string& GetCompanyName() const { return company; }
  const std::string& GetProductName() const { return product; }
  // The settings file in use, or an empty text when there is none.
  std::string GetProfilePath() const;

  // --- keys (registry mode only; null in ini mode or without a usable location)
  std::unique_ptr<TKey> OpenProductKey();
  // The section's key, created when missing; the product key for a null or empty section.
  std::unique_ptr<TKey> OpenSectionKey(const char* section);

  // --- values
  int32_t GetProfileInt(const char* section, const char* key, int32_t def);
  // Copies the value (registry mode: only when it fits in size-1 bytes) or else the default
  // (an empty text for null) into buffer, cut to fit on a character boundary; returns the
  // bytes copied.
  int32_t GetProfileString(const char* section, const char* key, const char* def, char* buffer,
                           int32_t size);
  std::string GetProfileString(const char* section, const char* key, const char* def);
  // The value's size bytes when it holds exactly size bytes, returning size; else the size
  // bytes of def (returning size), or 0 without a default. Ini mode: ReadProfileHex, whose
  // precondition size < 63 applies.
  int32_t GetProfileBinary(const char* section, const char* key, const void* def, void* buffer,
                           int32_t size);
  // Each returns false when nothing could be written. WriteProfileString: a null text deletes
  // the value, a null key the whole section (never the product key's own values).
  bool WriteProfileInt(const char* section, const char* key, int32_t value);
  bool WriteProfileString(const char* section, const char* key, const char* text);
  bool WriteProfileBinary(const char* section, const char* key, const void* bytes, int32_t size);

  // --- wait cursor
  // The first active wait shows the wait cursor through the store's cursor service, which
  // keeps the cursor it replaced.
  void BeginWait();
  // Above 1 the count falls by one; at 1 or 0 the kept cursor comes back and the count is 0.
  void EndWait();
  int32_t GetWaitCount() const { return waitCount; }

  // --- status stack
  // Pushes a state and shows it with an immediate repaint. On a full stack the push is
  // dropped (a developer warning is logged) and false returned.
  bool PushStatus(const char* text, bool wait);
  // Above the bottom state: deletes the top one (ending its wait). Shows the top text without
  // forcing a repaint either way.
  void PopStatus();
  // Wait count 0; deletes every state above the bottom one; shows the bottom one.
  void PopAllStatus();
  // Shows the top state's text, if any.
  void ShowStatus(bool repaint);
  int GetStatusCount() const { return static_cast<int>(statusStack.size()); }

  // --- system queries. This platform answers as a current NT-family system, version 10.0;
  // the queries only ever steered Windows-specific paths. The administrator is the user whose
  // effective id is 0; no token is ever elevation-limited.
  uint32_t GetVersionValue() const { return version; }
  int GetMajorVersion() const { return static_cast<int>(version & 0xFF); }
  int GetMinorVersion() const { return static_cast<int>((version >> 8) & 0xFF); }
  bool IsNT() const { return (version & 0x80000000u) == 0; }
  bool IsWin4OrLater() const { return GetMajorVersion() >= 4; }
  bool HasNewShell() const { return IsWin4OrLater(); }
  bool IsWin95Family() const { return !IsNT() && IsWin4OrLater(); }
  bool IsWin32s() const { return !IsNT() && !IsWin4OrLater(); }
  // Windows 98 and ME only: false on the NT family.
  bool IsWin98OrLater() const;
  bool IsWin2000OrLater() const { return IsNT() && GetMajorVersion() >= 5; }
  bool IsVistaOrLater() const { return IsNT() && GetMajorVersion() >= 6; }
  bool IsAdminUser();
  bool IsElevationLimited() const { return false; }

private:
  void RebuildProfile();

  TIniFileIo& io;
  std::vector<std::unique_ptr<TStatusState>> statusStack;
  uint32_t version;
  bool cursorSaved = false;
  int32_t waitCount = 0;
  TSysStatusBar& statusBar;
  ICursorService& cursor;
  bool registryMode = true;
  std::string company;
  std::string product;
  std::optional<bool> adminUser;
  std::shared_ptr<TIniProfile> profile;  // null without a usable location
};

}  // namespace kvt
