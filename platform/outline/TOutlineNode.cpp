#include "platform/outline/TOutlineNode.h"

#include <algorithm>
#include <vector>

#include "platform/outline/TCustomOutline.h"

namespace bw {

const TOutlineTree& TOutlineNode::Tree() const {
  return FOutline->FTree;
}
TOutlineTree& TOutlineNode::Tree() {
  return FOutline->FTree;
}

int32_t TOutlineNode::Index() const {
  TOutlineTree& tree = FOutline->FTree;
  if (tree.NodesStale()) tree.ReindexNodes();
  return FIndex;
}

int32_t TOutlineNode::Level() const {
  return Tree().Level(Index());
}

TOutlineNode* TOutlineNode::Parent() const {
  const int32_t p = Index();
  return p == 0 ? nullptr : FOutline->NodeAt(Tree().Parent(p));
}

String TOutlineNode::Text() const {
  return String(Tree().Text(Index()));
}

void TOutlineNode::SetText(const String& Value) {
  const int32_t p = Index();
  if (p == 0 || Tree().Text(p) == Value) return;
  Tree().SetText(p, Value);
  FOutline->NotifyChanged();
}

Pointer TOutlineNode::Data() const {
  return Tree().Data(Index());
}

void TOutlineNode::SetData(Pointer Value) {
  const int32_t p = Index();
  if (p > 0) Tree().SetData(p, Value);
}

bool TOutlineNode::Expanded() const {
  return Tree().Expanded(Index());
}

void TOutlineNode::SetExpandedState(bool Value) {
  const int32_t p = Index();
  if (p == 0 || Tree().Expanded(p) == Value) return;
  Tree().SetExpanded(p, Value);
  FOutline->ExpandedChanged(p, Value);
}

void TOutlineNode::FullExpand() {
  SetBranchExpanded(true);
}

void TOutlineNode::FullCollapse() {
  SetBranchExpanded(false);
}

void TOutlineNode::SetBranchExpanded(bool Value) {
  Tree().SetBranchExpanded(Index(), Value);
  FOutline->NotifyChanged();
}

bool TOutlineNode::HasChildren() const {
  return Tree().Size(Index()) > 1;
}

bool TOutlineNode::HasVisibleParent() const {
  const int32_t p = Index();
  if (p == 0) return false;
  const int32_t parent = Tree().Parent(p);
  return parent == 0 || Tree().Expanded(parent);
}

bool TOutlineNode::IsVisible() const {
  const int32_t p = Index();
  return p > 0 && Tree().IsShown(p);
}

bool TOutlineNode::IsChild(int32_t Value) const {
  const TOutlineTree& tree = Tree();
  return Value >= 1 && Value <= tree.Count() && tree.Parent(Value) == Index();
}

int32_t TOutlineNode::GetFirstChild() const {
  const int32_t p = Index();
  return Tree().Size(p) > 1 ? p + 1 : -1;
}

int32_t TOutlineNode::GetLastChild() const {
  const TOutlineTree& tree = Tree();
  const int32_t p = Index();
  if (tree.Size(p) == 1) return -1;
  int32_t q = tree.End(p) - 1;
  while (tree.Parent(q) != p)
    q = tree.Parent(q);
  return q;
}

int32_t TOutlineNode::GetNextChild(int32_t Value) const {
  if (!IsChild(Value)) return -1;
  const int32_t q = Tree().End(Value);
  return q < Tree().End(Index()) ? q : -1;
}

int32_t TOutlineNode::GetPrevChild(int32_t Value) const {
  if (!IsChild(Value)) return -1;
  const TOutlineTree& tree = Tree();
  const int32_t p = Index();
  int32_t q = Value - 1;
  if (q == p) return -1;
  while (tree.Parent(q) != p)
    q = tree.Parent(q);
  return q;
}

int32_t TOutlineNode::ChildCount() const {
  const TOutlineTree& tree = Tree();
  const int32_t p = Index();
  int32_t count = 0;
  for (int32_t q = p + 1, end = tree.End(p); q < end; q = tree.End(q))
    ++count;
  return count;
}

String TOutlineNode::FullPath() const {
  const TOutlineTree& tree = Tree();
  std::vector<int32_t> chain;
  for (int32_t p = Index(); p > 0; p = tree.Parent(p))
    chain.push_back(p);
  String path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (it != chain.rbegin()) path += FOutline->ItemSeparator();
    path += tree.Text(*it);
  }
  return path;
}

}  // namespace bw
