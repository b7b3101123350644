#include "notation/items/notated_item.h"

#include "notation/items/packed_field.h"

namespace kvt {

TNotatedItem::~TNotatedItem() = default;

void TNotatedItem::Assign(const TNotatedItem& src) { attribute = src.attribute; }

int TNotatedItem::GetMemberCount() const { return 0; }
TMusicNote* TNotatedItem::GetMember(int) const { return nullptr; }
TRestNote* TNotatedItem::AsRest() const { return nullptr; }
bool TNotatedItem::IsMusicNoteClass() const { return false; }
bool TNotatedItem::IsSongNoteClass() const { return false; }
bool TNotatedItem::HasNotes() const { return false; }
bool TNotatedItem::IsRestClass() const { return false; }
bool TNotatedItem::IsExpressionClass() const { return false; }
int TNotatedItem::GetStaffPos() const { return 0; }
int TNotatedItem::GetTopPos() const { return GetStaffPos(); }
int TNotatedItem::GetBottomPos() const { return GetStaffPos(); }
void TNotatedItem::SetStaffPos(int) {}
void TNotatedItem::ApplyToContext(TStaffContextState&) const {}
int TNotatedItem::GetDuration() const { return 0; }
void TNotatedItem::Perform(TStaffContextState&, TMidiFileBuf*) const {}

int TNotatedItem::GetNextPlayIndex(TStaffContextState&, const TMusicStaff*, int index) const {
  return index + 1;
}

void TNotatedItem::SetVisibility(int visibility) {
  const int v =
      BoundIndex(static_cast<int>(MaskBits(visibility, 4)), kVisibilityCount, kVisDefault);
  attribute = static_cast<uint8_t>((attribute & 0xF0) | v);
}

void TNotatedItem::SetColor(int color) {
  const int c = BoundIndex(static_cast<int>(MaskBits(color, 4)), kItemColorCount, 0);
  attribute = static_cast<uint8_t>((attribute & 0x0F) | (c << 4));
}

}  // namespace kvt
