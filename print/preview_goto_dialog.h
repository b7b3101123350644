#pragma once
// The "Goto Page" dialog (632): one "&Page:" number field, bounded by the field itself. OK
// closes only with a number in range; the caller then goes to that printed page.

#include "tools/kv_dlg_base.h"

#include <cstdint>

namespace kvt {

class TEditNumber;

inline constexpr int32_t kGotoPageDlgId = 632;
inline constexpr int32_t kGotoPageFieldId = 101;
inline constexpr int32_t kGotoPageMaximum = 30000;

class TPreviewGotoDialog : public TKVDlgBase {
public:
  // minimum: the first printed page number (1 without page numbers); current: the printed
  // number of the page shown.
  TPreviewGotoDialog(QWidget* parent, int32_t minimum, int32_t current);
  int32_t Value() const;
  TEditNumber* Field() const { return field; }
  void accept() override;

private:
  TEditNumber* field;
};

}  // namespace kvt
