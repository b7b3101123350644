#include "tools/tree_item.h"

#include "tools/tree_commands.h"
#include "utils/precondition.h"

namespace kvt {

TKVTreeItem::TKVTreeItem(TKVTreeItem* parent, std::string_view text, int image, int selectedImage,
                         bool checkable)
    : image(image),
      selectedImage(selectedImage == -1 ? image : selectedImage),
      text(text),
      checkable(checkable) {
  if (parent) parent->AddChild(this);
}

TKVTreeItem::~TKVTreeItem() {
  DeleteChildren();
  if (parent) parent->RemoveChild(this);
}

void TKVTreeItem::SetExpandedDown(bool on, int levels) {
  expanded = on;
  if (levels == 0) return;
  for (TKVTreeItem* c = firstChild; c; c = c->sibling)
    c->SetExpandedDown(on, levels < 0 ? -1 : levels - 1);
}

void TKVTreeItem::Collapse(int levels) { SetExpandedDown(false, levels); }
void TKVTreeItem::Expand(int levels) { SetExpandedDown(true, levels); }

int TKVTreeItem::GetImage(bool selected) const {
  bool second = checkable ? checkState != 0 : (firstChild ? expanded : selected);
  return second ? selectedImage : image;
}

void TKVTreeItem::AddContextCommands(std::vector<int>& commands) const {
  commands.insert(commands.end(),
                  {kCmTreeExpand, kCmTreeExpandDown, kCmTreeCollapse, kCmTreeCollapseUp});
}

void TKVTreeItem::AddChild(TKVTreeItem* child) { InsertChild(child, nullptr, true); }

void TKVTreeItem::InsertChild(TKVTreeItem* child, TKVTreeItem* reference, bool after) {
  // The names are those of the node's link fields, as the precondition message shows them.
  if (child->parent) ThrowPrecondition("!child->Parent", __FILE__, __LINE__);
  if (child->sibling) ThrowPrecondition("!child->Sibling", __FILE__, __LINE__);
  KVT_PRECONDITION(child != this);
  // Find the link that should point at the child: before the reference, after it, or the end.
  TKVTreeItem** link = &firstChild;
  bool found = false;
  if (reference) {
    for (TKVTreeItem** l = &firstChild; *l; l = &(*l)->sibling) {
      if (*l == reference) {
        link = after ? &reference->sibling : l;
        found = true;
        break;
      }
    }
  }
  if (!found) {
    link = &firstChild;
    while (*link) link = &(*link)->sibling;
  }
  child->sibling = *link;
  *link = child;
  child->parent = this;
  child->RenumberLevels(level + 1);
}

void TKVTreeItem::RenumberLevels(int newLevel) {
  level = newLevel;
  for (TKVTreeItem* c = firstChild; c; c = c->sibling) c->RenumberLevels(newLevel + 1);
}

void TKVTreeItem::RemoveChild(TKVTreeItem* child) {
  for (TKVTreeItem** l = &firstChild; *l; l = &(*l)->sibling) {
    if (*l == child) {
      *l = child->sibling;
      child->sibling = nullptr;
      child->parent = nullptr;
      return;
    }
  }
}

TKVTreeItem* TKVTreeItem::FindChild(std::string_view wanted) const {
  for (TKVTreeItem* c = firstChild; c; c = c->sibling)
    if (c->text == wanted) return c;
  return nullptr;
}

void TKVTreeItem::SetText(std::string_view newText) {
  text = newText;
  textWidth = 0;
}

void TKVTreeItem::DeleteChildren() {
  while (firstChild) delete firstChild;  // each child unlinks itself
}

bool TKVTreeItem::IsFullyExpanded(int levels) const {
  if (!firstChild) return true;
  if (!expanded) return false;
  if (levels == 0) return true;
  for (TKVTreeItem* c = firstChild; c; c = c->sibling)
    if (!c->IsFullyExpanded(levels < 0 ? -1 : levels - 1)) return false;
  return true;
}

bool TKVTreeItem::IsFullyCollapsed(int levels) const {
  if (!firstChild) return true;
  if (expanded) return false;
  if (levels == 0) return true;
  for (TKVTreeItem* c = firstChild; c; c = c->sibling)
    if (!c->IsFullyCollapsed(levels < 0 ? -1 : levels - 1)) return false;
  return true;
}

uint32_t TKVTreeItem::GetLineMask() const {
  uint32_t mask = 0;
  for (const TKVTreeItem* i = this; i && i->level >= 0; i = i->parent)
    if (i->sibling && i->level < 32) mask |= uint32_t{1} << i->level;
  return mask;
}

std::string_view TreeCommandText(int command) {
  switch (command) {
    case kCmTreeExpand: return "&Expand";
    case kCmTreeExpandDown: return "Expand &down";
    case kCmTreeCollapse: return "&Collapse";
    case kCmTreeCollapseUp: return "Collapse &up";
    default: return {};
  }
}

bool IsTreeCommandEnabled(const TKVTreeItem& item, int command) {
  bool grandChildren = false;
  for (const TKVTreeItem* c = item.FirstChild(); c; c = c->NextSibling())
    grandChildren = grandChildren || c->HasChildren();
  switch (command) {
    case kCmTreeExpand: return item.HasChildren() && !item.IsExpanded();
    case kCmTreeExpandDown: return grandChildren && !item.IsFullyExpanded(-1);
    case kCmTreeCollapse: return item.IsExpanded();
    case kCmTreeCollapseUp: return grandChildren && !item.IsFullyCollapsed(-1);
    default: return false;
  }
}

}  // namespace kvt
