#pragma once
// TNtnPropInstrumentPage: the "Instrument" page (548) of the staff properties and of the
// notation property dialog. It shows gathered instrument values (one definition, or several
// at once with the differing fields mixed): name (100), "Send &Patch" (102) with the patch
// (103), "Send &Bank Select" (104) with MSB and LSB (105, 106), the eight default velocities
// (107 to 114), the transposition (115), "Set Pitch Bend &Range:" (116) with the range (117).
// A mixed number shows as an empty field and a mixed state as a partly checked box; left so,
// they stay mixed and ApplyInstrumentValues leaves those fields of each definition alone.
// "&Predefined instruments..." (101) picks the values from the current instrument tree.
//
// The values and the tree store outlive the page (a null store disables the button).

#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <memory>

#include "tools/property_page.h"

namespace kvt {

class TEditNumber;
class TInstrumentTreeStore;
class TKRVEdit;
struct TInstrumentValues;

inline constexpr int kInstrumentPageId = 548;

class TNtnPropInstrumentPage : public TKVPropertyPage {
public:
  TNtnPropInstrumentPage(TKVPropertyDialog* dialog, TInstrumentValues& values,
                         TInstrumentTreeStore* store);

  void TransferData(TTransferDirection direction) override;
  // "&Predefined instruments...": the controls into the values, the tree dialog, and on OK the
  // values back into the controls.
  void PickPredefined();

  TKRVEdit* Name() const { return name; }
  QCheckBox* SendPatch() const { return sendPatch; }
  TEditNumber* Patch() const { return patch; }
  TEditNumber* Velocity(int level) const { return velocities[level]; }

protected:
  void CreateControls(QWidget& window) override;
  // Runs the tree dialog over the values; true on OK.
  virtual bool RunTreeDialog(TInstrumentValues& values);

private:
  TInstrumentValues& values;
  TInstrumentTreeStore* store;
  QPointer<TKRVEdit> name;
  QPointer<QCheckBox> sendPatch;
  QPointer<TEditNumber> patch;
  QPointer<QCheckBox> sendBank;
  QPointer<TEditNumber> bankMSB;
  QPointer<TEditNumber> bankLSB;
  QPointer<TEditNumber> velocities[8];
  QPointer<TEditNumber> transposition;
  QPointer<QCheckBox> bendState;
  QPointer<TEditNumber> bendRange;
};

// Adds the page "Instrument" to the dialog when at least one definition was gathered into the
// values; the caller keeps the page alive while the dialog uses it. Null when none was.
std::unique_ptr<TNtnPropInstrumentPage> AddInstrumentPropPage(TKVPropertyDialog& dialog,
                                                              TInstrumentValues& values,
                                                              TInstrumentTreeStore* store);

}  // namespace kvt
