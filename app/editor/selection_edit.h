#pragma once
// Edits of the selected items shared by the note tools and the keys: each runs under one undo
// entry (kind 7, sub-code 4) that is written before anything changes, and an edit that cannot
// act beeps and leaves no entry, so the redo history is kept.
//
// SummarizeSelection: what the selected items offer and share, for the enablers.

#include <functional>

#include "app/editor/insertion_state.h"

namespace kvt {

class TScoreEdit;
class TStaffRange;

// The selected items of the view's active staff; an empty range without a selection.
TStaffRange SelectedRange(const TScoreEdit& view);

// Runs `edit` on the selection after an undo entry of kind 7 sub-code 4 and shows the result.
// When `edit` answers false (it must then have changed nothing) the entry is dropped and the
// view beeps. False without a selection, when the view may not edit, or when the edit refused.
bool EditSelection(TScoreEdit& view, const std::function<bool(TStaffRange&)>& edit);

// The summary of the range's items; `valid` false for an empty range.
TSelectionSummary SummarizeSelection(const TStaffRange& range);

}  // namespace kvt
