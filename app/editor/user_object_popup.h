#pragma once
// A user object's own popup: first "<type name>..." (selects the object when nothing is
// selected and posts the notation properties, command 224; disabled when the editor may not
// edit); after a separator what the object's plug-in offers through the view host's
// user-object host: its menu entries (commands and choices, which run the plug-in's menu
// function) and its properties (enum values to choose, yes/no check items). Texts from the
// plug-in show literally ("&" doubled). With the null host only the first item shows.
//
// A change (a property chosen, or a menu function that changed the object) is written back
// to the object after an undo entry of kind 7: "Property Change" (sub-code 8) when nothing was
// selected, the caret then standing after the object; "Change Selection" (sub-code 4) when
// the selection holds it. The view lays the staff out again.
//
// Action names for tests: "properties", "entry<N>", "entry<N>.<C>" (entry N's choice C).
// UI thread only; the menu must not outlive the view.

#include <functional>
#include <memory>

class QMenu;

namespace kvt {

class TKVTUserObject;
class TScoreEdit;

inline constexpr int kCmdNotationProperties = 224;

// The popup of the active staff's user object at itemIndex; null when there is none.
std::unique_ptr<QMenu> BuildUserObjectPopup(TScoreEdit& view, int itemIndex);

// Lets `edit` change a copy of the user object at itemIndex; when it answers true the copy is
// written back after the undo entry described above. False (nothing recorded) when the editor
// may not edit (with a beep), the object is not there, or `edit` changed nothing.
bool ChangeUserObject(TScoreEdit& view, int itemIndex,
                      const std::function<bool(TKVTUserObject&)>& edit);

}  // namespace kvt
