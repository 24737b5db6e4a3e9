#include "grid/TGridOutlineProperties.h"

#include "grid/TCorvath.h"
#include "grid/TInGridOutline.h"
#include "platform/core/TFiler.h"
#include "platform/core/TPropertyTable.h"
#include "platform/core/TReader.h"
#include "platform/core/TStrings.h"
#include "platform/core/TWriter.h"

namespace bw {

BW_PUBLISHED(TGridOutlineProperties) {
  P.Property("Lines", &TGridOutlineProperties::GetOutlineLines,
             &TGridOutlineProperties::SetOutlineLines);
}

void TGridOutlineProperties::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  const bool Kept =
      FGrid->TreeOptions().Contains(toKeepState) && !FHiddenOutline->ExpandedBranches().empty();
  Filer->DefineProperty(
      "Expanded",
      [this](TReader* Reader) {
        // The whole list first: a damaged one opens nothing.
        std::vector<int32_t> Items;
        Reader->ReadListBegin();
        while (!Reader->EndOfList())
          Items.push_back(Reader->ReadInteger());
        Reader->ReadListEnd();
        FHiddenOutline->SetExpandedBranches(Items);
      },
      [this](TWriter* Writer) {
        Writer->WriteListBegin();
        for (int32_t Item : FHiddenOutline->ExpandedBranches())
          Writer->WriteInteger(Item);
        Writer->WriteListEnd();
      },
      Kept);
}

void TGridOutlineProperties::UpdateGrid() {
  if (FUpdateCount <= 0) FGrid->SyncOutline();
}

template <class F>
auto TGridOutlineProperties::Changing(F&& Call) -> std::invoke_result_t<F> {
  using R = std::invoke_result_t<F>;
  if (FUpdateCount <= 0) FGrid->NoteEditedItem();
  try {
    if constexpr (std::is_void_v<R>) {
      Call();
      UpdateGrid();
    } else {
      R Result = Call();
      UpdateGrid();
      return Result;
    }
  } catch (...) {
    // Keep the rows in step with what the outline holds now; the outline's error is the
    // one the caller needs to see, so a second failure here does not replace it.
    try {
      UpdateGrid();
    } catch (...) {
    }
    throw;
  }
}

int32_t TGridOutlineProperties::Add(int32_t Index, const String& Text) {
  return Changing([&] { return FHiddenOutline->Add(Index, Text); });
}

int32_t TGridOutlineProperties::AddChild(int32_t Index, const String& Text) {
  return Changing([&] { return FHiddenOutline->AddChild(Index, Text); });
}

int32_t TGridOutlineProperties::AddChildObject(int32_t Index, const String& Text, Pointer Data) {
  return Changing([&] { return FHiddenOutline->AddChildObject(Index, Text, Data); });
}

int32_t TGridOutlineProperties::AddObject(int32_t Index, const String& Text, Pointer Data) {
  return Changing([&] { return FHiddenOutline->AddObject(Index, Text, Data); });
}

int32_t TGridOutlineProperties::Insert(int32_t Index, const String& Text) {
  return Changing([&] { return FHiddenOutline->Insert(Index, Text); });
}

int32_t TGridOutlineProperties::InsertObject(int32_t Index, const String& Text, Pointer Data) {
  return Changing([&] { return FHiddenOutline->InsertObject(Index, Text, Data); });
}

void TGridOutlineProperties::Delete(int32_t Index) {
  Changing([&] { FHiddenOutline->Delete(Index); });
}

void TGridOutlineProperties::Clear() {
  Changing([&] { FHiddenOutline->Clear(); });
}

void TGridOutlineProperties::FullExpand() {
  Changing([&] { FHiddenOutline->FullExpand(); });
}

void TGridOutlineProperties::FullCollapse() {
  Changing([&] { FHiddenOutline->FullCollapse(); });
}

void TGridOutlineProperties::LoadFromFile(const String& FileName) {
  Changing([&] { FHiddenOutline->LoadFromFile(FileName); });
}

void TGridOutlineProperties::LoadFromStream(TStream* Stream) {
  Changing([&] { FHiddenOutline->LoadFromStream(Stream); });
}

void TGridOutlineProperties::SetOutlineLines(TStrings* Value) {
  Changing([&] { FHiddenOutline->Lines()->Assign(Value); });
}

void TGridOutlineProperties::SaveToFile(const String& FileName) {
  FHiddenOutline->SaveToFile(FileName);
}

void TGridOutlineProperties::SaveToStream(TStream* Stream) {
  FHiddenOutline->SaveToStream(Stream);
}

int32_t TGridOutlineProperties::GetDataItem(Pointer Data) {
  return FHiddenOutline->GetDataItem(Data);
}

int32_t TGridOutlineProperties::GetTextItem(const String& Text) {
  return FHiddenOutline->GetTextItem(Text);
}

int32_t TGridOutlineProperties::GetItemCount() {
  return FHiddenOutline->ItemCount();
}

TOutlineNode* TGridOutlineProperties::Get(int32_t Index) {
  return FHiddenOutline->Get(Index);
}

TStrings* TGridOutlineProperties::GetOutlineLines() {
  return FHiddenOutline->Lines();
}

void TGridOutlineProperties::BeginUpdate() {
  if (FUpdateCount <= 0) FGrid->NoteEditedItem();
  FHiddenOutline->BeginUpdate();
  ++FUpdateCount;
}

void TGridOutlineProperties::EndUpdate() {
  FHiddenOutline->EndUpdate();
  if (FUpdateCount > 0) {
    --FUpdateCount;
    UpdateGrid();
  }
}

void TGridOutlineProperties::SetUpdateState(bool Updating) {
  if (Updating && FUpdateCount <= 0) FGrid->NoteEditedItem();
  FHiddenOutline->SetUpdateState(Updating);
  if (!Updating) UpdateGrid();
}

}  // namespace bw
