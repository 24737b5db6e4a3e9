#include "platform/outline/TOutline.h"

#include "platform/core/TPropertyTable.h"
#include "platform/core/TStrings.h"
#include "platform/graphics/TBitmap.h"

namespace bw {

namespace {

// Each picture is a sub-object stored through its own data, unless it still shows the
// image it started with.
template <int32_t Index>
void PublishPicture(TPropertyBuilder<TOutline>& P, const char* Name) {
  P.Property(
       Name, [](TOutline* O) { return O->GetPicture(Index); },
       [](TOutline* O, TBitmap* Value) { O->SetPicture(Index, Value); })
      .Stored([](TOutline* O) { return !O->IsDefaultPicture(Index); });
}

}  // namespace

BW_PUBLISHED(TOutline) {
  P.Property("Lines", &TOutline::Lines, &TOutline::SetLines);
  P.Property("ItemSeparator", &TOutline::ItemSeparator, &TOutline::SetItemSeparator).Default("\\");
  PublishPicture<opPlus>(P, "PicturePlus");
  PublishPicture<opMinus>(P, "PictureMinus");
  PublishPicture<opOpen>(P, "PictureOpen");
  PublishPicture<opClosed>(P, "PictureClosed");
  PublishPicture<opLeaf>(P, "PictureLeaf");
  P.Property(
      "OnExpand", [](TOutline* O) -> const TOutlineEvent& { return O->OnExpand; },
      [](TOutline* O, const TOutlineEvent& Value) { O->OnExpand = Value; });
  P.Property(
      "OnCollapse", [](TOutline* O) -> const TOutlineEvent& { return O->OnCollapse; },
      [](TOutline* O, const TOutlineEvent& Value) { O->OnCollapse = Value; });
}

TOutline::TOutline(TComponent* AOwner) : TCustomOutline(AOwner) {}

}  // namespace bw
