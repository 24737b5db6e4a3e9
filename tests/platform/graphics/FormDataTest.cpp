#include <gtest/gtest.h>

#include "platform/core/ClassRegistry.h"
#include "platform/core/FormStreaming.h"
#include "platform/core/TComponent.h"
#include "platform/core/TPropertyTable.h"
#include "platform/graphics/TBitmap.h"

namespace bw {
namespace {

// A component that stores the graphics objects the way controls publish them.
class TPictureHolder : public TComponent {
  BW_CLASS(TPictureHolder, TComponent)
 public:
  explicit TPictureHolder(TComponent* AOwner) : TComponent(AOwner) {}
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }
  TFont* Font() const { return FFont.get(); }
  TPen* Pen() const { return FPen.get(); }
  TBrush* Brush() const { return FBrush.get(); }

 private:
  std::unique_ptr<TBitmap> FGlyph = std::make_unique<TBitmap>();
  std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
  std::unique_ptr<TPen> FPen = std::make_unique<TPen>();
  std::unique_ptr<TBrush> FBrush = std::make_unique<TBrush>();
};

BW_PUBLISHED(TPictureHolder) {
  P.Property("Brush", &TPictureHolder::Brush);
  P.Property("Font", &TPictureHolder::Font);
  P.Property("Glyph", &TPictureHolder::Glyph, &TPictureHolder::SetGlyph);
  P.Property("Pen", &TPictureHolder::Pen);
}

TEST(GraphicsInForms, DefaultsStoreOnlyTheFontAndAnEmptyBitmapNothing) {
  TPictureHolder h(nullptr);
  h.SetName("Holder");
  EXPECT_EQ(ComponentToText(&h),
            "object Holder: TPictureHolder\n"
            "  Font.Color = clWindowText\n"
            "  Font.Height = -11\n"
            "  Font.Name = 'DejaVu Sans'\n"
            "  Font.Style = []\n"
            "end\n");
}

TEST(GraphicsInForms, BitmapDataAndAttributesRoundTrip) {
  TPictureHolder h(nullptr);
  h.SetName("Holder");
  h.Glyph()->SetSize(16, 15);
  h.Glyph()->SetPixelFormat(pf4bit);
  h.Glyph()->Canvas()->SetPixels(3, 4, clRed);
  h.Font()->SetStyle({fsBold, fsUnderline});
  h.Font()->SetSize(12);
  h.Pen()->SetMode(pmXor);
  h.Brush()->SetStyle(bsClear);
  const String text = ComponentToText(&h);
  EXPECT_NE(text.find("Glyph.Data = {\n    EE000000424DEE000000"), String::npos) << text;
  EXPECT_NE(text.find("Font.Style = [fsBold, fsUnderline]"), String::npos) << text;

  for (const String& data : {text, ComponentToBinary(&h)}) {
    TPictureHolder copy(nullptr);
    ComponentFromString(data, &copy);
    EXPECT_EQ(copy.Glyph()->Width(), 16);
    EXPECT_EQ(copy.Glyph()->PixelFormat(), pf4bit);
    EXPECT_EQ(copy.Glyph()->Canvas()->Pixels(3, 4), clRed);
    EXPECT_EQ(copy.Font()->Size(), 12);
    EXPECT_EQ(copy.Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(copy.Pen()->Mode(), pmXor);
    EXPECT_EQ(copy.Brush()->Style(), bsClear);
  }
}

}  // namespace
}  // namespace bw
