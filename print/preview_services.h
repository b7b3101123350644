#pragma once
// The upward services the print preview calls: the window-placement store, the editor's caret
// time, the printer that makes the page device, the page-picture export and the long-task
// progress of a page walk. Each is a small interface with a null version that answers as a
// headless run needs; the application installs the real ones. TPreviewServices holds pointers
// only: the caller keeps every service alive while a preview it was given runs.

#include <QRect>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>

#include "draw/print/print_data.h"

class QWidget;

namespace kvt {

class TDeviceContext;
class TStaffColorHandles;

// A frame's place: its normal (not maximised) geometry and whether it was maximised.
struct TWindowPlacement {
  QRect normal;
  bool maximized = false;
};

// The "Placement" settings by window name.
class TPlacementStore {
public:
  virtual ~TPlacementStore() = default;
  // True and the placement when name holds a valid one.
  virtual bool Load(const QString& name, TWindowPlacement& placement) = 0;
  virtual void Save(const QString& name, const TWindowPlacement& placement) = 0;
};

// Stores nothing, finds nothing.
class TNullPlacementStore final : public TPlacementStore {
public:
  bool Load(const QString&, TWindowPlacement&) override { return false; }
  void Save(const QString&, const TWindowPlacement&) override {}
};

// Keeps placements for the life of the object (tests, and runs without a settings file).
class TMemoryPlacementStore final : public TPlacementStore {
public:
  bool Load(const QString& name, TWindowPlacement& placement) override;
  void Save(const QString& name, const TWindowPlacement& placement) override;

private:
  std::map<QString, TWindowPlacement> placements;
};

// The tick time of the item at the editing view's caret; the preview opens at its page.
class TCaretTimeSource {
public:
  virtual ~TCaretTimeSource() = default;
  virtual int64_t CaretTime() = 0;
};

class TNullCaretTimeSource final : public TCaretTimeSource {
public:
  int64_t CaretTime() override { return 0; }
};

// A page device made by the printer: the context that pages are measured with, and its paper.
class TPrintDevice {
public:
  virtual ~TPrintDevice() = default;
  virtual TDeviceContext& Context() = 0;
  virtual TPaperMeasures Paper() const = 0;
};

// The printer object's device for the current printer; null when there is none.
class TPreviewPrinter {
public:
  virtual ~TPreviewPrinter() = default;
  virtual std::unique_ptr<TPrintDevice> CreatePrintDC() = 0;
};

class TNullPreviewPrinter final : public TPreviewPrinter {
public:
  std::unique_ptr<TPrintDevice> CreatePrintDC() override { return nullptr; }
};

// Writes the page that the print data rendered last (its resume state is at page n) as a
// picture: to the file, or to the clipboard for an empty name. False when nothing was written.
class TPagePictureExporter {
public:
  virtual ~TPagePictureExporter() = default;
  virtual bool ExportPage(TKVTNTNPrintData& print, int page, const QString& file) = 0;
};

// Exports nothing and says so.
class TNullPagePictureExporter final : public TPagePictureExporter {
public:
  bool ExportPage(TKVTNTNPrintData&, int, const QString&) override { return false; }
};

// The progress window of a long page walk ("Working...").
class TPreviewProgress {
public:
  virtual ~TPreviewProgress() = default;
  virtual void Begin(const char* text) = 0;
  // Handles waiting events; true when the user asked to cancel.
  virtual bool IsCancelled() = 0;
  virtual void End() = 0;
};

class TNullPreviewProgress final : public TPreviewProgress {
public:
  void Begin(const char*) override {}
  bool IsCancelled() override { return false; }
  void End() override {}
};

// What the preview remembers for the whole run of the program.
struct TPreviewOptions {
  // "&Unprintable Area Boundary": the printable area's outline on the preview's pages.
  bool showBoundary = false;
  // The folder of the last page-picture file.
  QString exportFolder;
};

struct TPreviewServices {
  TPlacementStore* placement = nullptr;
  TCaretTimeSource* caretTime = nullptr;
  TPreviewPrinter* printer = nullptr;
  TPagePictureExporter* exporter = nullptr;
  // The program's; a preview given none keeps its own for its lifetime.
  TPreviewOptions* options = nullptr;
  // The application's staff colours; the defaults without them.
  const TStaffColorHandles* colors = nullptr;
  // The core's services for the print data (fonts, page-setup defaults, cancel test).
  TServices core;
};

// Each service, or its null version for a null member.
TPlacementStore& PlacementStoreOf(const TPreviewServices& services);
TCaretTimeSource& CaretTimeOf(const TPreviewServices& services);
TPreviewPrinter& PreviewPrinterOf(const TPreviewServices& services);
TPagePictureExporter& PageExporterOf(const TPreviewServices& services);

}  // namespace kvt
