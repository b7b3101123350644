#pragma once
// TServices: the upward services that the core's long operations (load, save, export, layout,
// audit) may call: the status bar, the mouse cursor, the installed fonts, the long-task cancel
// test, the user-object host, the MIDI export shell, the page-setup defaults and the playback
// position. The caller passes one object down; every member left null stands for that
// service's null version, so a default-constructed TServices is the headless set that the
// converter, the tests and the benchmarks use.
//
// The object holds no service: each pointer is the caller's, which keeps the service alive
// while any call given this object runs (and while any object that copied it, such as a score
// player, lives). Each accessor XxxOf(services) answers the service, or its null version for a
// null member: the notation and MIDI services declare theirs in their own headers; the utils
// services (status bar, cursor, font catalog), whose headers cannot see this one, have theirs
// below.

namespace kvt {

class TSysStatusBar;
class ICursorService;
class IFontCatalog;
class TLongTaskCancel;
class TUserObjectHost;
class TMidiExportShell;
class TPageSetupDefaults;
class TMidiPlaybackService;

struct TServices {
  TSysStatusBar* status = nullptr;
  ICursorService* cursor = nullptr;
  IFontCatalog* fontCatalog = nullptr;
  TLongTaskCancel* longTaskCancel = nullptr;
  TUserObjectHost* userObjectHost = nullptr;
  TMidiExportShell* exportShell = nullptr;
  TPageSetupDefaults* pageSetupDefaults = nullptr;
  TMidiPlaybackService* playback = nullptr;
};

TSysStatusBar& SysStatusBarOf(const TServices& services);
ICursorService& CursorServiceOf(const TServices& services);
IFontCatalog& FontCatalogOf(const TServices& services);

}  // namespace kvt
