#pragma once
// Components and sub-objects that use every kind of published property, for the form
// reader and writer tests.

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/TComponent.h"
#include "platform/core/TEvent.h"
#include "platform/core/THandlerTable.h"
#include "platform/core/TSet.h"
#include "platform/core/TStringList.h"

namespace bw::formtest {

enum TShape : uint8_t { shCircle, shSquare, shTriangle };
enum TStyle : uint8_t { stBold, stItalic, stUnderline };
using TStyles = TSet<TStyle>;

/// The innermost sub-object: a float and a string with declared defaults.
class TDepth : public TPersistent {
  BW_CLASS(TDepth, TPersistent)
 public:
  double Ratio() const { return FRatio; }
  void SetRatio(double V) { FRatio = V; }
  const String& Note() const { return FNote; }
  void SetNote(const String& V) { FNote = V; }

 private:
  double FRatio = 1.5;    // declared default
  String FNote = "none";  // declared default
};

/// A sub-object with its own sub-object and a defined property.
class TInner : public TPersistent {
  BW_CLASS(TInner, TPersistent)
 public:
  int32_t Width() const { return FWidth; }
  void SetWidth(int32_t V) { FWidth = V; }
  const String& Label() const { return FLabel; }
  void SetLabel(const String& V) { FLabel = V; }
  TDepth* Depth() const { return FDepth.get(); }
  TStringList* Lines() const { return FLines.get(); }
  void DefineProperties(TFiler* Filer) override;
  std::vector<String> Tags;  // stored as the defined list "Tags"

 private:
  int32_t FWidth = 10;  // declared default
  String FLabel;
  std::unique_ptr<TDepth> FDepth = std::make_unique<TDepth>();
  std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
};

/// Stores its entries as a count followed by index/text pairs, with no list around them,
/// as a sparse string list stores its "List" property.
class TSparseEntries : public TPersistent {
  BW_CLASS(TSparseEntries, TPersistent)
 public:
  void DefineProperties(TFiler* Filer) override;
  std::vector<std::pair<int32_t, String>> Entries;
};

class TWidget : public TComponent {
  BW_CLASS(TWidget, TComponent)
 public:
  explicit TWidget(TComponent* AOwner) : TComponent(AOwner) { ++LiveCount(); }

  int32_t Count() const { return FCount; }
  void SetCount(int32_t V) { FCount = V; }
  int64_t Big() const { return FBig; }
  void SetBig(int64_t V) { FBig = V; }
  uint8_t Small() const { return FSmall; }
  void SetSmall(uint8_t V) { FSmall = V; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool V) { FEnabled = V; }
  Char Letter() const { return FLetter; }
  void SetLetter(Char V) { FLetter = V; }
  TShape Shape() const { return FShape; }
  void SetShape(TShape V) { FShape = V; }
  TStyles Styles() const { return FStyles; }
  void SetStyles(TStyles V) { FStyles = V; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& V) { FCaption = V; }
  double Ratio() const { return FRatio; }
  void SetRatio(double V) { FRatio = V; }
  const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(const TNotifyEvent& V) { FOnClick = V; }
  TInner* Inner() const { return FInner.get(); }
  TSparseEntries* Sparse() const { return FSparse.get(); }
  TWidget* Buddy() const { return FBuddy; }
  void SetBuddy(TWidget* V) { FBuddy = V; }
  /// Like a grid's column count: the defined list "ColWidths" holds exactly this many. The
  /// widths are held one per column, so a count from a damaged form is refused rather than
  /// allocated.
  static constexpr int32_t MaxColCount = 4096;
  int32_t ColCount() const { return int32_t(FColWidths.size()); }
  void SetColCount(int32_t V) {
    if (V > MaxColCount) throw EComponentError("ColCount out of range: " + std::to_string(V));
    FColWidths.resize(size_t(std::max(V, 0)), 64);
  }
  std::vector<int32_t>& ColWidths() { return FColWidths; }

  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;

  /// Every component's Loaded call, with whether all of the form had been read then.
  static std::vector<String>& LoadLog();
  /// Widgets alive now, to see that failed reads free what they created.
  static int& LiveCount();
  ~TWidget() override { --LiveCount(); }

 private:
  int32_t FCount = 0;
  int64_t FBig = 0;
  uint8_t FSmall = 0;
  bool FEnabled = true;  // declared default
  Char FLetter = 'A';
  TShape FShape = shCircle;  // declared default
  TStyles FStyles;
  String FCaption;
  double FRatio = 0;
  TNotifyEvent FOnClick;
  std::unique_ptr<TInner> FInner = std::make_unique<TInner>();
  std::unique_ptr<TSparseEntries> FSparse = std::make_unique<TSparseEntries>();
  TWidget* FBuddy = nullptr;
  std::vector<int32_t> FColWidths;
};

/// A widget that holds other widgets as its children, as a panel holds controls.
class TBox : public TWidget {
  BW_CLASS(TBox, TWidget)
 public:
  explicit TBox(TComponent* AOwner) : TWidget(AOwner) {}
  ~TBox() override;

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* Value) override;
  TBox* ParentBox() const { return FParent; }
  const std::vector<TBox*>& Kids() const { return FKids; }

 private:
  TBox* FParent = nullptr;
  std::vector<TBox*> FKids;
};

/// A root with handlers for stored events.
class TTestForm : public TBox {
  BW_CLASS(TTestForm, TBox)
 public:
  explicit TTestForm(TComponent* AOwner);
  bool HasParent() const override { return false; }
  const THandlerTable* HandlerTable() const override { return &FHandlers; }
  std::vector<String> Clicks;

 private:
  THandlerTable FHandlers;
};

/// Registers the classes above (once).
void RegisterTestClasses();

}  // namespace bw::formtest
