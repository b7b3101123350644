#pragma once
// What the print preview needs beyond printing's services (print_services.h: the core's
// services, alert log, message boxes, the shell with the caret time and the remembered picture
// folder): the window-placement store, the editor's caret time, and the options kept for the
// program's run. Each service is a small interface with a null version (the placement store
// also an in-memory one); the application installs the real ones. TPreviewServices holds pointers
// only: the caller keeps every service alive while a preview it was given runs.

#include <QRect>
#include <QString>

#include <cstdint>
#include <map>

#include "print/print_services.h"

namespace kvt {

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

// The tick time of the item at the editing view's caret on the active staff; the preview
// opens at the page that reaches it.
class TCaretTimeSource {
public:
  virtual ~TCaretTimeSource() = default;
  virtual int64_t CaretTime() = 0;
};

// The score's start.
class TNullCaretTimeSource final : public TCaretTimeSource {
public:
  int64_t CaretTime() override { return 0; }
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

// What the preview keeps for the program's whole run.
struct TPreviewOptions {
  // "&Unprintable Area Boundary": the printable area's outline on the preview's pages.
  bool showBoundary = false;
};

struct TPreviewServices {
  TPrintServices print;
  TPlacementStore* placement = nullptr;
  TCaretTimeSource* caretTime = nullptr;
  // The program's; a preview given none keeps its own for its lifetime.
  TPreviewOptions* options = nullptr;
};

// Each service, or its null version for a null member.
TPlacementStore& PlacementStoreOf(const TPreviewServices& services);
TCaretTimeSource& CaretTimeOf(const TPreviewServices& services);

}  // namespace kvt
