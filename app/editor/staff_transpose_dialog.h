#pragma once
// The "Staff Transpose" dialog of command 66: the semitones (-12..12), "&Update staff play back
// transposition" and the "New Key Signature Preference" (fewest accidentals, flat keys or sharp
// keys in ambiguous cases). Starts from the choice given; Choice answers what is shown.

#include "app/editor/edit_dialogs.h"
#include "tools/kv_dlg_base.h"

class QCheckBox;
class QRadioButton;
class QSpinBox;

namespace kvt {

class TStaffTransposeDialog : public TKVDlgBase {
public:
  static constexpr int32_t kSemitonesId = 101;
  static constexpr int32_t kUpdatePlaybackId = 102;
  static constexpr int32_t kMinimizeId = 103;
  static constexpr int32_t kFavorFlatsId = 104;
  static constexpr int32_t kFavorSharpsId = 105;

  TStaffTransposeDialog(QWidget* parent, const TTransposeChoice& choice);
  TTransposeChoice Choice() const;
  QSpinBox& Semitones() const { return *semitones; }
  QCheckBox& UpdatePlayback() const { return *playback; }
  QRadioButton& Preference(int keyPreference) const;

private:
  QSpinBox* semitones;
  QCheckBox* playback;
  QRadioButton* preferences[3];
};

}  // namespace kvt
