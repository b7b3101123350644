#pragma once
// TKVColorComboBox: a TKRVComboBox (drop-down list) whose items show a colour swatch before
// their text. Each item's data is its colour as a colour reference (0x00BBGGRR).

#include "tools/combo_box.h"

#include <cstdint>
#include <string_view>

namespace kvt {

class TKVColorComboBox : public TKRVComboBox {
public:
  explicit TKVColorComboBox(QWidget* parent);

  // Appends an item with its swatch colour.
  void AddColor(std::string_view utf8, uint32_t colorRef);
  uint32_t ItemColor(int index) const;
};

// The colour of a colour reference (red in the low byte).
QColor ColorFromRef(uint32_t colorRef);

}  // namespace kvt
