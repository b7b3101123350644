#pragma once
// TWizardDialog and TWizardPage: a property dialog walked step by step with Back (id 500),
// Next (501) and Finish (IDOK) buttons; the tab strip is hidden (ptsNoTabs). Pages count for
// the walk while their entries are enabled. After every page change Back is enabled off the
// first page, Next off the last one, and Finish only on the last one, which then is the
// default button (Next elsewhere). Any of the three buttons may be missing.
//
// Finish is the property dialog's OK: every page with a window is checked and applied.

#include <QLabel>
#include <QPixmap>
#include <QPointer>

#include "tools/property_dialog.h"
#include "tools/property_page.h"

namespace kvt {

inline constexpr int kWizardBackId = 500;
inline constexpr int kWizardNextId = 501;
inline constexpr int kWizardPictureId = 502;

class TWizardDialog : public TKVPropertyDialog {
public:
  TWizardDialog(QWidget* parent, int32_t resourceId, uint32_t options);

  bool NextEnabled() const { return nextEnabled; }
  bool BackEnabled() const { return backEnabled; }

  // Do nothing (and answer false) while the button's flag is off.
  bool NextPage() override;
  bool PrevPage() override;
  void PageChanged(int index) override;
  bool EvCommand(int id) override;

protected:
  void SetupWindow() override;

private:
  bool nextEnabled = true;
  bool backEnabled = true;
};

class TWizardPage : public TKVPropertyPage {
public:
  // A non-null picture is shown at the page's left in a label with control id 502.
  TWizardPage(TWizardDialog* dialog, const QPixmap& picture = QPixmap());

  // A derived page that sets this keeps its own default button.
  void SetKeepDefaultButton(bool keep) { keepDefaultButton = keep; }
  // The button Enter means on this page: IDOK on the last enabled page, Next elsewhere.
  int DefaultId() const { return defaultId; }
  QLabel* Picture() const { return picture.data(); }

  void PageActivated() override;
  bool EvCommand(int id) override;

protected:
  // Makes the picture; derived pages call it before making their own controls.
  void CreateControls(QWidget& window) override;

private:
  QPixmap pictureImage;
  QPointer<QLabel> picture;
  bool keepDefaultButton = false;
  int defaultId = kWizardNextId;
};

}  // namespace kvt
