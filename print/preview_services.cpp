#include "print/preview_services.h"

namespace kvt {

bool TMemoryPlacementStore::Load(const QString& name, TWindowPlacement& placement) {
  // Names are compared without case, as the settings store compares them.
  const auto found = placements.find(name.toLower());
  if (found == placements.end() || !found->second.normal.isValid()) return false;
  placement = found->second;
  return true;
}

void TMemoryPlacementStore::Save(const QString& name, const TWindowPlacement& placement) {
  placements[name.toLower()] = placement;
}

TPlacementStore& PlacementStoreOf(const TPreviewServices& services) {
  static TNullPlacementStore none;
  return services.placement ? *services.placement : none;
}

TCaretTimeSource& CaretTimeOf(const TPreviewServices& services) {
  static TNullCaretTimeSource none;
  return services.caretTime ? *services.caretTime : none;
}

}  // namespace kvt
