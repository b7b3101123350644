#pragma once
// TKVDlgBase: the base of the program's plain dialogs. It keeps the dialog's resource id for
// help, centres the dialog on the screen when it is first shown (unless run through
// ExecuteDialogUncentered), keeps a registry of its controls by control id, and sends help
// requests to the running application: F1 asks TKVAppBase::ShowContextHelp about the focused
// control, the Help button (control id 9) asks ShowCommandHelp about the dialog's id.
//
// Results are ints: exec() answers what done() was given; accept() gives IDOK (1) and reject()
// (Escape, the window's close, a Cancel button) gives IDCANCEL (2).

#include "tools/kv_app_base.h"

#include <QDialog>
#include <QPointer>

#include <cstdint>
#include <map>

namespace kvt {

inline constexpr int32_t kHelpButtonId = 9;

class TKVDlgBase : public QDialog {
public:
  TKVDlgBase(QWidget* parent, int32_t resourceId);
  ~TKVDlgBase() override;

  int32_t ResourceId() const { return resourceId; }
  const TCtrlHelpEntry* HelpMap() const { return helpMap; }

  // Registers control under id (replacing an earlier control of that id); the dialog does not
  // take ownership beyond Qt's parent rule. A button registered as id 9 becomes the Help button.
  void SetControlId(QWidget* control, int32_t id);
  // The control registered under id, or null (also after it was destroyed).
  QWidget* Control(int32_t id) const;
  // The id of control or of its nearest registered ancestor inside the dialog; 0 when none.
  int32_t ControlId(const QWidget* control) const;

  // Help for the control with the focus (F1).
  void RequestContextHelp();
  // Help for the dialog (the Help button).
  void RequestCommandHelp();

  bool KeepsPosition() const { return keepPosition; }
  void SetKeepPosition(bool keep) { keepPosition = keep; }

  void accept() override;
  void reject() override;

protected:
  // A derived class sets its own map (static storage, ending with control id 0).
  void SetHelpMap(const TCtrlHelpEntry* map);

  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  int32_t resourceId;
  bool keepPosition = false;
  bool setUp = false;  // the first show has placed the dialog
  const TCtrlHelpEntry* helpMap;
  std::map<int32_t, QPointer<QWidget>> controls;
};

// Runs the dialog modally where its owner or its own code placed it; answers what exec()
// answers (IDOK for OK).
int ExecuteDialogUncentered(TKVDlgBase& dialog);

}  // namespace kvt
