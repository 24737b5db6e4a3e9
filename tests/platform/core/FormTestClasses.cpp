#include "FormTestClasses.h"

#include <algorithm>

#include "platform/core/ClassRegistry.h"
#include "platform/core/Exception.h"
#include "platform/core/TPropertyTable.h"
#include "platform/core/TReader.h"
#include "platform/core/TWriter.h"

namespace bw::formtest {

BW_PUBLISHED(TDepth) {
  P.Property("Ratio", &TDepth::Ratio, &TDepth::SetRatio).Default(1.5);
  P.Property("Note", &TDepth::Note, &TDepth::SetNote).Default("none");
}

BW_PUBLISHED(TInner) {
  P.Property("Width", &TInner::Width, &TInner::SetWidth).Default(10);
  P.Property("Label", &TInner::Label, &TInner::SetLabel);
  P.Property("Depth", &TInner::Depth);
  P.Property("Lines", &TInner::Lines);
}

void TInner::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "Tags",
      [this](TReader* R) {
        std::vector<String> tags;
        R->ReadListBegin();
        while (!R->EndOfList())
          tags.push_back(R->ReadString());
        R->ReadListEnd();
        Tags = std::move(tags);
      },
      [this](TWriter* W) {
        W->WriteListBegin();
        for (const String& t : Tags)
          W->WriteString(t);
        W->WriteListEnd();
      },
      !Tags.empty());
}

void TSparseEntries::DefineProperties(TFiler* Filer) {
  Filer->DefineProperty(
      "List",
      [this](TReader* R) {
        for (int32_t n = R->ReadInteger(); n > 0; --n) {
          const int32_t index = R->ReadInteger();
          Entries.emplace_back(index, R->ReadString());
        }
      },
      [this](TWriter* W) {
        W->WriteInteger(int64_t(Entries.size()));
        for (const auto& [index, text] : Entries) {
          W->WriteInteger(index);
          W->WriteString(text);
        }
      },
      !Entries.empty());
}

BW_PUBLISHED(TWidget) {
  P.Property("Count", &TWidget::Count, &TWidget::SetCount);
  P.Property("Big", &TWidget::Big, &TWidget::SetBig);
  P.Property("Small", &TWidget::Small, &TWidget::SetSmall);
  P.Property("Enabled", &TWidget::Enabled, &TWidget::SetEnabled).Default(true);
  P.Property("Letter", &TWidget::Letter, &TWidget::SetLetter);
  P.Property("Shape", &TWidget::Shape, &TWidget::SetShape, {"shCircle", "shSquare", "shTriangle"})
      .Default(shCircle);
  P.Property("Styles", &TWidget::Styles, &TWidget::SetStyles,
             {"stBold", "stItalic", "stUnderline"});
  P.Property("Caption", &TWidget::Caption, &TWidget::SetCaption);
  P.Property("Ratio", &TWidget::Ratio, &TWidget::SetRatio);
  P.Property("OnClick", &TWidget::OnClick, &TWidget::SetOnClick);
  P.Property("Inner", &TWidget::Inner);
  P.Property("Sparse", &TWidget::Sparse);
  P.Property("Buddy", &TWidget::Buddy, &TWidget::SetBuddy);
  P.Property("ColCount", &TWidget::ColCount, &TWidget::SetColCount);
}

void TWidget::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "ColWidths",
      [this](TReader* R) {
        R->ReadListBegin();
        for (int32_t& w : FColWidths)
          w = R->ReadInteger();
        R->ReadListEnd();
      },
      [this](TWriter* W) {
        W->WriteListBegin();
        for (int32_t w : FColWidths)
          W->WriteInteger(w);
        W->WriteListEnd();
      },
      !FColWidths.empty());
}

void TWidget::Loaded() {
  if (FCaption == "FailInLoaded") throw EComponentError("Loaded failed");
  // Loaded runs with csLoading still set, so the log notes what it saw.
  const bool loading = ComponentState().Contains(csLoading);
  inherited::Loaded();
  LoadLog().push_back(Name() + (loading ? "" : " (not loading)"));
}

std::vector<String>& TWidget::LoadLog() {
  static std::vector<String> log;
  return log;
}

int& TWidget::LiveCount() {
  static int count = 0;
  return count;
}

TBox::~TBox() {
  // Children go with their box, as controls go with their parent.
  while (!FKids.empty())
    delete FKids.back();
  if (FParent) SetParentComponent(nullptr);
}

void TBox::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  inherited::GetChildren(Proc, Root);  // for the root: its components without a parent
  for (TBox* kid : FKids)
    if (kid->Owner() == Root) Proc(kid);
}

void TBox::SetParentComponent(TComponent* Value) {
  if (FParent) {
    auto& kids = FParent->FKids;
    kids.erase(std::remove(kids.begin(), kids.end(), this), kids.end());
  }
  FParent = dynamic_cast<TBox*>(Value);
  if (FParent) FParent->FKids.push_back(this);
}

TTestForm::TTestForm(TComponent* AOwner) : TBox(AOwner) {
  FHandlers.Add<void(TObject*)>("ButtonClick", [this](TObject* Sender) {
    Clicks.push_back(dynamic_cast<TComponent*>(Sender)->Name());
  });
  FHandlers.Add<int(int)>("Twice", [](int V) { return 2 * V; });
}

void RegisterTestClasses() {
  RegisterClasses<TComponent, TWidget, TBox, TTestForm, TInner, TDepth>();
}

}  // namespace bw::formtest
