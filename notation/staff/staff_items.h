#pragma once
// Read access to a staff's item array for the play-order decisions of bar lines, special
// endings and flow directions (GetNextPlayIndex). Those items search the staff backward and
// forward for repeat bars, endings, codas and segnos; they read items only, never change them.

#include <memory>
#include <span>

namespace kvt {

class TNotatedItem;
class TMusicStaff;

// The items of a staff in order, index 0 first, as the staff holds them: the span lends the
// items, it owns none. A null staff gives an empty span.
using TStaffItemSpan = std::span<const std::unique_ptr<TNotatedItem>>;

// The staff's item array. Defined by the staff unit, which owns the array; the span stays
// valid until the staff's items change.
TStaffItemSpan GetStaffItems(const TMusicStaff* staff);

}  // namespace kvt
