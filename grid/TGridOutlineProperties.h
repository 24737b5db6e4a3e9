#pragma once
// The grid's Outline object: the interface through which a TCorvath's items are added,
// removed, loaded and saved. Each call goes to the grid's hidden outline; the calls that
// change the items or their expansion then resynchronise the grid's rows (UpdateGrid),
// also when the outline raises, unless an update bracket is open. Indexes are outline
// item indexes, counted from 1, not visual rows.

#include <type_traits>

#include "platform/graphics/TGraphicsObject.h"

namespace bw {

class TCorvath;
class TInGridOutline;
class TOutlineNode;
class TStream;
class TStrings;

class TGridOutlineProperties : public TGraphicsObject {
  BW_CLASS(TGridOutlineProperties, TGraphicsObject)

 public:
  TGridOutlineProperties() = default;

  /// Resynchronises the grid unless an update bracket is open.
  void UpdateGrid();

  // Changing calls: each resynchronises the grid afterwards (see UpdateGrid).
  int32_t Add(int32_t Index, const String& Text);
  int32_t AddChild(int32_t Index, const String& Text);
  int32_t AddChildObject(int32_t Index, const String& Text, Pointer Data);
  int32_t AddObject(int32_t Index, const String& Text, Pointer Data);
  int32_t Insert(int32_t Index, const String& Text);
  int32_t InsertObject(int32_t Index, const String& Text, Pointer Data);
  void Delete(int32_t Index);
  void Clear();
  void FullExpand();
  void FullCollapse();
  void LoadFromFile(const String& FileName);
  void LoadFromStream(TStream* Stream);
  /// Replaces the items with those of Value, in the outline's text form.
  void SetOutlineLines(TStrings* Value);

  // Calls that change nothing. Changes made through a node from Get or through the list
  // from GetOutlineLines are not seen by the grid until the next UpdateGrid.
  void SaveToFile(const String& FileName);
  void SaveToStream(TStream* Stream);
  int32_t GetDataItem(Pointer Data);
  int32_t GetTextItem(const String& Text);
  int32_t GetItemCount();
  TOutlineNode* Get(int32_t Index);
  TStrings* GetOutlineLines();

  /// Brackets nest; only the outermost EndUpdate resynchronises, once. An EndUpdate
  /// without a matching BeginUpdate leaves the grid alone.
  void BeginUpdate();
  void EndUpdate();
  /// Hands Updating to the outline; the grid is resynchronised when the update state ends
  /// (Updating false), which is when the items are complete.
  void SetUpdateState(bool Updating);

  /// With the grid's toKeepState, "Expanded", the list of open branches, is stored
  /// beside Lines; a form without it reads with every branch closed.
  void DefineProperties(TFiler* Filer) override;

  /// The depth of open brackets.
  int32_t UpdateCount() const { return FUpdateCount; }

 private:
  friend class TCorvath;

  /// Runs Call, then UpdateGrid, also when Call raises.
  template <class F>
  auto Changing(F&& Call) -> std::invoke_result_t<F>;

  int32_t FUpdateCount = 0;
  TInGridOutline* FHiddenOutline = nullptr;  // the grid's; not owned
  TCorvath* FGrid = nullptr;                 // the owning grid
};

}  // namespace bw
