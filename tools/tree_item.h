#pragma once
// TKVTreeItem: one node of the trees that the tree list and the tree combo box show. A node
// owns its children (a singly linked list in display order) and a UTF-8 copy of its text;
// the root (level -1) is never shown. Deleting a node deletes its whole subtree; a node that
// still has a parent unlinks itself first.
//
// InsertChild requires a child without parent and sibling (the precondition exception with
// "!child->Parent" or "!child->Sibling"); callers move a node by RemoveChild first.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

class TKVTreeItem {
public:
  // Appends itself to parent's children, or becomes a root (level -1) when parent is null.
  // selectedImage -1 means the same as image.
  TKVTreeItem(TKVTreeItem* parent, std::string_view text, int image = 0, int selectedImage = -1,
              bool checkable = false);
  virtual ~TKVTreeItem();
  TKVTreeItem(const TKVTreeItem&) = delete;
  TKVTreeItem& operator=(const TKVTreeItem&) = delete;

  // Levels: 0 only this item, -1 all levels below, n that many levels below too.
  virtual void Collapse(int levels);
  virtual void Expand(int levels);
  // The image shown: the second one when the deciding flag (check state for a checkable
  // item, else expanded for an item with children, else `selected`) is set.
  virtual int GetImage(bool selected) const;
  // Adds the item's own context commands to the list; the standard item adds the four tree
  // commands (see tree_commands.h).
  virtual void AddContextCommands(std::vector<int>& commands) const;
  virtual void Check() { checkState = checkable ? 1 : 0; }
  virtual void Uncheck() { checkState = 0; }

  void AddChild(TKVTreeItem* child);
  // Inserts after (or before) reference; appends when reference is null or not a child.
  // Renumbers the levels of the moved subtree.
  void InsertChild(TKVTreeItem* child, TKVTreeItem* reference, bool after);
  void RemoveChild(TKVTreeItem* child);
  TKVTreeItem* FindChild(std::string_view text) const;
  void SetText(std::string_view text);
  void DeleteChildren();

  bool IsFullyExpanded(int levels) const;
  bool IsFullyCollapsed(int levels) const;
  // Bit n set when the ancestor at level n (or the item itself) has a next sibling; levels
  // beyond 31 have no bit.
  uint32_t GetLineMask() const;

  int Level() const { return level; }
  const std::string& Text() const { return text; }
  bool IsExpanded() const { return expanded; }
  bool HasChildren() const { return firstChild != nullptr; }
  bool IsCheckable() const { return checkable; }
  int CheckState() const { return checkState; }
  TKVTreeItem* Parent() const { return parent; }
  TKVTreeItem* NextSibling() const { return sibling; }
  TKVTreeItem* FirstChild() const { return firstChild; }
  int CachedTextWidth() const { return textWidth; }
  void SetCachedTextWidth(int width) { textWidth = width; }

private:
  void SetExpandedDown(bool on, int levels);
  void RenumberLevels(int newLevel);

  int level = -1;
  int image = 0;
  int selectedImage = 0;
  std::string text;
  int checkState = 0;
  bool checkable = false;
  bool expanded = false;
  int textWidth = 0;
  TKVTreeItem* parent = nullptr;
  TKVTreeItem* sibling = nullptr;
  TKVTreeItem* firstChild = nullptr;
};

}  // namespace kvt
