#pragma once
// One item of an outline, as a handle onto the outline's item array. Handles are made
// when first asked for (with those of the items near it that have none yet) and belong to
// the outline: they are freed when their item is deleted, and with the outline. Every call is
// answered from the array in constant time, except where a comment says otherwise.

#include "platform/core/TPersistent.h"

namespace bw {

class TCustomOutline;
class TOutlineTree;

class TOutlineNode : public TPersistent {
  BW_CLASS(TOutlineNode, TPersistent)

 public:
  TCustomOutline* Outline() const { return FOutline; }

  /// The item's index in the outline's numbering (from 1, in outline order); 0 for the
  /// root. Constant time, but the first call after items were inserted or deleted before
  /// any node handle renumbers all handles once.
  int32_t Index() const;
  /// 1 for a top-level item, one more per generation below; 0 for the root.
  int32_t Level() const;
  /// The parent node; the root for a top-level item, null for the root.
  TOutlineNode* Parent() const;
  bool IsRoot() const { return Index() == 0; }

  String Text() const;
  void SetText(const String& Value);
  /// A value of the application's, never freed by the outline.
  Pointer Data() const;
  void SetData(Pointer Value);

  bool Expanded() const;
  /// Expands or collapses the item. A leaf keeps the state it is given, which only
  /// matters once it has children. Does nothing on the root, which is always expanded.
  void SetExpandedState(bool Value);
  void Expand() { SetExpandedState(true); }
  void Collapse() { SetExpandedState(false); }
  /// Expands (collapses) the item and every item below it.
  void FullExpand();
  void FullCollapse();

  bool HasChildren() const;
  /// True when the parent is expanded (the root counting as expanded); false for the root.
  bool HasVisibleParent() const;
  /// True when every ancestor is expanded, so the item is shown. Costs the item's depth.
  bool IsVisible() const;

  /// Index of the first child, -1 when there is none.
  int32_t GetFirstChild() const;
  /// Index of the last child, -1 when there is none. Costs the depth of the subtree.
  int32_t GetLastChild() const;
  /// Index of the child after the child with index Value; -1 after the last child, and
  /// when Value is not a child of this node.
  int32_t GetNextChild(int32_t Value) const;
  /// Index of the child before the child with index Value; -1 before the first child, and
  /// when Value is not a child of this node. Costs the depth of the sibling before it.
  int32_t GetPrevChild(int32_t Value) const;
  /// Number of children. Costs the number of children.
  int32_t ChildCount() const;

  /// The texts from the top-level ancestor down to this item, joined by the outline's
  /// ItemSeparator; empty for the root.
  String FullPath() const;

 private:
  friend class TCustomOutline;
  friend class TOutlineTree;
  friend class TOutlineNodeBlock;

  TOutlineNode(TCustomOutline* AOutline, int32_t AIndex) : FOutline(AOutline), FIndex(AIndex) {}

  const TOutlineTree& Tree() const;
  TOutlineTree& Tree();
  /// Sets the expansion of this item and every item below it (the root is always
  /// expanded).
  void SetBranchExpanded(bool Value);
  /// Checks that Value is an item of this outline whose parent is this node.
  bool IsChild(int32_t Value) const;

  TCustomOutline* FOutline;
  int32_t FIndex;
  uint32_t FSlot = 0;  // 1 + its place in the block it was made in; 0 when made alone
};

}  // namespace bw
