#pragma once
// The tab stops of a dialog or page window, in the order Tab visits them, and the focus rules
// the property dialogs share.

#include <QWidget>
#include <vector>

namespace kvt {

// The enabled widgets under container (shown or not hidden by anything below the container)
// that take the focus by Tab, in window order (depth first through the children lists). A tab
// stop's own children (the edit inside a spin box or combo box) are not listed.
std::vector<QWidget*> TabStopsOf(QWidget& container);

// The widget that counts as focused: a focus proxy's owner (the spin box or combo box whose
// edit has the focus) in place of its inner edit.
QWidget* FocusOwner(QWidget* focus);

// Selects the whole text of an edit field or number field.
void SelectAllIfEdit(QWidget& widget);

}  // namespace kvt
