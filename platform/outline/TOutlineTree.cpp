#include "platform/outline/TOutlineTree.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Format.h"
#include "platform/outline/EOutlineError.h"
#include "platform/outline/OutlineConsts.h"
#include "platform/outline/TOutlineNode.h"

namespace bw {

TOutlineTree::TOutlineTree() {
  FShape.push_back({1, 0, 0, 1});
  FText.emplace_back();
  FData.push_back(nullptr);
  FNodes.push_back(nullptr);
}

TOutlineTree::~TOutlineTree() {
  FreeNodes(0, int32_t(FNodes.size()));
}

void TOutlineTree::SetAllExpanded(bool v) {
  const int32_t e = v ? 1 : 0;
  for (size_t p = 1; p < FShape.size(); ++p)
    FShape[p].Expanded = e;
}

int32_t TOutlineTree::MinLevelAt(int32_t x) const {
  return x <= Count() ? std::max(1, Level(x) - 1) : 1;
}

bool TOutlineTree::IsShown(int32_t p) const {
  for (p = Parent(p); p > 0; p = Parent(p))
    if (!Expanded(p)) return false;
  return true;
}

void TOutlineTree::InsertAt(int32_t x, int32_t level, String text, Pointer data) {
  const int32_t n = Count();
  int32_t parent = x - 1;
  while (Level(parent) >= level)
    parent = Parent(parent);

  // Items right after x that are deeper than the new item become its descendants; those
  // one level below it become its children.
  int32_t end = x;
  while (end <= n && Level(end) > level) {
    FShape[size_t(end)].Up = end + 1 - x;
    end += Size(end);
  }
  if (end > x) {
    // The ancestors of the item before x that are as deep as the new item or deeper no
    // longer hold the adopted run: their subtrees now end at x.
    for (int32_t a = x - 1; a != parent; a = Parent(a))
      FShape[size_t(a)].Size = x - a;
  }

  // Every later item whose parent lies before x is now one position further from it.
  // Those are the later children of the new item's ancestors; step over each one's
  // subtree. Each ancestor's subtree grows by the new item.
  int32_t q = end;
  for (int32_t a = parent;; a = Parent(a)) {
    const int32_t aEnd = End(a);
    while (q < aEnd) {
      FShape[size_t(q)].Up += 1;
      q += Size(q);
    }
    FShape[size_t(a)].Size += 1;
    if (a == 0) break;
  }

  const TOutlineShape shape{1 + end - x, x - parent, level, 0};
  if (x > n) {
    FShape.push_back(shape);
    FText.push_back(std::move(text));
    FData.push_back(data);
    FNodes.push_back(nullptr);
  } else {
    FShape.insert(FShape.begin() + x, shape);
    FText.insert(FText.begin() + x, std::move(text));
    FData.insert(FData.begin() + x, data);
    FNodes.insert(FNodes.begin() + x, nullptr);
    NoteMoved(x);
  }
}

void TOutlineTree::DeleteAt(int32_t p) {
  const int32_t k = Size(p);
  const int32_t parent = Parent(p);
  int32_t q = p + k;
  for (int32_t a = parent;; a = Parent(a)) {
    const int32_t aEnd = End(a);
    while (q < aEnd) {
      FShape[size_t(q)].Up -= k;
      q += Size(q);
    }
    FShape[size_t(a)].Size -= k;
    if (a == 0) break;
  }
  FreeNodes(p, p + k);
  FShape.erase(FShape.begin() + p, FShape.begin() + p + k);
  FText.erase(FText.begin() + p, FText.begin() + p + k);
  FData.erase(FData.begin() + p, FData.begin() + p + k);
  FNodes.erase(FNodes.begin() + p, FNodes.begin() + p + k);
  NoteMoved(p);
}

void TOutlineTree::Clear() {
  FreeNodes(1, int32_t(FNodes.size()));
  FShape.resize(1);
  FText.resize(1);
  FData.resize(1);
  FNodes.resize(1);
  FShape[0].Size = 1;
  FStaleFrom = INT32_MAX;
}

void TOutlineTree::Swap(TOutlineTree& other) {
  FShape.swap(other.FShape);
  FText.swap(other.FText);
  FData.swap(other.FData);
  FNodes.swap(other.FNodes);
  std::swap(FNodes[0], other.FNodes[0]);  // each tree keeps its own root handle
  std::swap(FNodeCount, other.FNodeCount);
  std::swap(FStaleFrom, other.FStaleFrom);
}

void TOutlineTree::Reserve(int32_t count) {
  const size_t n = size_t(count) + 1;
  FShape.reserve(n);
  FText.reserve(n);
  FData.reserve(n);
  FNodes.reserve(n);
}

void TOutlineTree::SetNode(int32_t p, TOutlineNode* node) {
  FNodes[size_t(p)] = node;
  if (p > 0) ++FNodeCount;
}

void TOutlineTree::NoteMoved(int32_t from) {
  if (FNodeCount > 0) FStaleFrom = std::min(FStaleFrom, from);
}

void TOutlineTree::ReindexNodes() {
  for (size_t p = size_t(FStaleFrom); p < FNodes.size(); ++p)
    if (TOutlineNode* node = FNodes[p]) node->FIndex = int32_t(p);
  FStaleFrom = INT32_MAX;
}

void TOutlineTree::FreeNodes(int32_t from, int32_t to) {
  if (FNodeCount == 0 && from > 0) return;
  for (int32_t p = from; p < to; ++p) {
    if (TOutlineNode* node = FNodes[size_t(p)]) {
      FNodes[size_t(p)] = nullptr;
      if (p > 0) --FNodeCount;
      delete node;
    }
  }
}

void TOutlineTree::BeginLoad(int32_t expected) {
  Reserve(expected);
  FOpen.assign(1, 0);
}

void TOutlineTree::LoadLine(std::string_view line, Pointer data, int32_t lineNo,
                            const String& source) {
  size_t tabs = 0;
  while (tabs < line.size() && line[tabs] == '\t')
    ++tabs;
  const int32_t level = int32_t(tabs) + 1;
  if (level > int32_t(FOpen.size())) {
    if (FShape.size() == 1) throw EOutlineError(Format(SOutlineFirstLineIndented, {source}));
    throw EOutlineError(
        Format(SOutlineLineTooDeep, {std::to_string(lineNo), source, std::to_string(tabs)}));
  }
  const int32_t p = int32_t(FShape.size());
  while (int32_t(FOpen.size()) > level) {
    FShape[size_t(FOpen.back())].Size = p - FOpen.back();
    FOpen.pop_back();
  }
  FShape.push_back({1, p - FOpen.back(), level, 0});
  FText.emplace_back(line.substr(tabs));
  FData.push_back(data);
  FNodes.push_back(nullptr);
  FOpen.push_back(p);
}

void TOutlineTree::EndLoad() {
  const int32_t end = int32_t(FShape.size());
  for (int32_t p : FOpen)
    FShape[size_t(p)].Size = end - p;
  FOpen.clear();
  FOpen.shrink_to_fit();
}

void TOutlineTree::LoadText(std::string_view text, const String& source) {
  if (text.size() >= 3 && std::memcmp(text.data(), "\xEF\xBB\xBF", 3) == 0) text.remove_prefix(3);
  BeginLoad(int32_t(std::count(text.begin(), text.end(), '\n')) + 1);
  const char* s = text.data();
  const char* const stop = s + text.size();
  int32_t line = 0;
  auto nextLf = [stop](const char* from) {
    const void* found = std::memchr(from, '\n', size_t(stop - from));
    return found ? static_cast<const char*>(found) : stop;
  };
  const char* nl = nullptr;  // kept across lone CRs, so each byte is scanned once
  while (s < stop) {
    // A line ends at CR LF, LF or a lone CR; a break at the very end adds no empty line.
    if (!nl || nl < s) nl = nextLf(s);
    const void* cr = std::memchr(s, '\r', size_t(nl - s));
    const char* eol = cr ? static_cast<const char*>(cr) : nl;
    LoadLine(std::string_view(s, size_t(eol - s)), nullptr, ++line, source);
    s = eol;
    if (s < stop && *s == '\r') ++s;
    if (s < stop && *s == '\n') ++s;
  }
  EndLoad();
}

void TOutlineTree::AppendText(String& out) const {
  const size_t start = out.size();
  size_t bytes = 0;
  for (size_t p = 1; p < FShape.size(); ++p)
    bytes += FText[p].size() + size_t(FShape[p].Level);
  out.reserve(start + bytes);
  for (size_t p = 1; p < FShape.size(); ++p) {
    const String& text = FText[p];
    if ((!text.empty() && text[0] == '\t') || text.find_first_of("\r\n") != String::npos) {
      out.resize(start);
      throw EOutlineError(Format(SOutlineUnsavableText, {std::to_string(p)}));
    }
    out.append(size_t(FShape[p].Level - 1), '\t');
    out += text;
    out += '\n';
  }
}

String TOutlineTree::Line(int32_t p) const {
  String line(size_t(Level(p) - 1), '\t');
  line += Text(p);
  return line;
}

}  // namespace bw
