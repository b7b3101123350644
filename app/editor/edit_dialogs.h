#pragma once
// TEditDialogs: the dialogs the editing commands open, as one upward service of the view's
// host. The program's service (qt_edit_dialogs.h) shows Qt dialogs; TNullEditDialogs has none;
// tests script the answers. A command whose dialog the service does not offer is disabled.
//
// The service also keeps what the dialogs remember between uses: the last "Staff Transpose"
// choice and the template item of each kind inserted through the property dialog.
//
// Contract: UI thread only; the service outlives the views that use it. Dialogs edit only the
// values handed to them, never the score: the commands apply the answers after their undo
// entry.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "notation/items/notated_item.h"

class QWidget;

namespace kvt {

class TMusicStaff;

// The dialogs of the editing commands.
enum class TEditDialog : int {
  kGoto,             // "Goto Measure" (38)
  kTranspose,        // "Staff Transpose" (66)
  kRespellWarning,   // "Staff Audit Enharmonic Spelling Warning" (73)
  kItemProperties,   // the notation property dialog (51, 160, 224, item inserts)
  kStaffProperties,  // 219 (and 51 without a selection)
  kMoveStaff,        // 223
  kLyrics,           // 37
  kFind,             // 26, 27, 28
  kUserTool,         // 17, 18
  kUserObject,       // 166, 168
  kSelectorMenu,     // the staff menu of a selector insert
};

// "Goto Measure": the bar range the box accepts, the bar shown (in/out) and "Make Selection".
struct TGotoRequest {
  int firstBar = 1;
  int lastBar = 1;
  int bar = 1;
  bool makeSelection = false;
};

// "New Key Signature Preference" of "Staff Transpose".
enum TKeyPreference : int { kKeyMinimize = 0, kKeyFavorFlats = 1, kKeyFavorSharps = 2 };

struct TTransposeChoice {
  int semitones = 0;  // -12..12
  bool updatePlayback = false;
  int keyPreference = kKeyMinimize;
  bool operator==(const TTransposeChoice&) const = default;
};

// The key-spelling steps of the transposition for a preference: flats negative, sharps
// positive, 0 for the fewest accidentals.
int KeySpellingSteps(int keyPreference);

// What the modal respelling warning steps through; the command provides it.
class TRespellWarnSteps {
public:
  virtual ~TRespellWarnSteps() = default;
  // Whether a further chord follows the one shown.
  virtual bool HasNext() const = 0;
  // Selects the next chord; false when there was none.
  virtual bool ShowNext() = 0;
  // The caret's rectangle in global (screen) coordinates, to place the dialog by.
  virtual QRect CaretRect() const = 0;
};

enum class TRespellAnswer : int { kGotoEditor, kProceed };

// Where the warning goes: horizontally centred on the screen, above the caret when the caret
// is in the screen's lower half, else below it, and at least 10 pixels inside every screen
// edge. Returns the top-left corner.
QPoint PlaceRespellWarning(const QRect& screen, const QSize& dialog, const QRect& caret);

// One remembered item per insertable kind (kItemTypeCount kinds), the caller's to copy.
class TInsertTemplates {
public:
  // The template of the kind; null when none was kept (or the kind is outside the table).
  const TNotatedItem* Get(int kind) const;
  // Keeps a copy of the item as its kind's template.
  void Keep(const TNotatedItem& item);

private:
  std::array<std::unique_ptr<TNotatedItem>, kItemTypeCount> items;
};

class TEditDialogs {
public:
  virtual ~TEditDialogs() = default;
  virtual bool IsAvailable(TEditDialog dialog) const = 0;

  // Each answers true for OK, false for Cancel (or when the dialog is not available).
  virtual bool Goto(QWidget* parent, TGotoRequest& request) = 0;
  virtual bool Transpose(QWidget* parent, TTransposeChoice& choice) = 0;
  // Modal until the user proceeds or goes back; "Show Next Chord" calls steps.ShowNext().
  virtual TRespellAnswer RespellWarning(QWidget* parent, TRespellWarnSteps& steps) = 0;
  // The notation property dialog on a new item of command's kind, edited in place.
  virtual bool EditNewItem(QWidget* parent, TNotatedItem& item, int command) = 0;
  // The notation property dialog on the staff's items first..last (inserted by a selector).
  // It may change them; the caller's undo entry covers them.
  virtual bool EditItems(QWidget* parent, TMusicStaff& staff, int first, int last) = 0;
  // The menu of a selector's entries; the chosen index, or -1.
  virtual int ChooseSelectorEntry(QWidget* parent, const std::vector<std::u16string>& names) = 0;

  // What the dialogs remember between uses.
  TTransposeChoice lastTranspose;
  TInsertTemplates templates;
};

// No dialog at all: every command that needs one stays disabled.
class TNullEditDialogs final : public TEditDialogs {
public:
  bool IsAvailable(TEditDialog) const override { return false; }
  bool Goto(QWidget*, TGotoRequest&) override { return false; }
  bool Transpose(QWidget*, TTransposeChoice&) override { return false; }
  TRespellAnswer RespellWarning(QWidget*, TRespellWarnSteps&) override {
    return TRespellAnswer::kGotoEditor;
  }
  bool EditNewItem(QWidget*, TNotatedItem&, int) override { return false; }
  bool EditItems(QWidget*, TMusicStaff&, int, int) override { return false; }
  int ChooseSelectorEntry(QWidget*, const std::vector<std::u16string>&) override { return -1; }
};

}  // namespace kvt
