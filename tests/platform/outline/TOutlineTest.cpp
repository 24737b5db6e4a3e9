#include "platform/outline/TOutline.h"

#include <gtest/gtest.h>

#include "platform/core/FormStreaming.h"
#include "platform/core/TStrings.h"
#include "platform/graphics/TBitmap.h"
#include "platform/outline/EOutlineError.h"
#include "tests/platform/outline/OutlineTestUtil.h"

namespace bw {
namespace {

using testing::LoadOutline;
using testing::OutlineText;

TEST(TOutlineTest, FormDataKeepsItemsPicturesAndSeparator) {
  TOutline source(nullptr);
  source.SetName("Outline1");
  LoadOutline(source, "Fruit\n\tApple\n\t\tCox\n\tPear\nNuts\n");
  source.SetItemSeparator("/");
  TBitmap leaf;
  leaf.SetSize(3, 2);
  leaf.ScanLine(1)[2] = 0x123456;
  source.SetPicture(opLeaf, &leaf);
  source.GetPicture(opMinus)->ScanLine(5)[5] = 0xFF0000;  // a red minus

  const String text = ComponentToText(&source);
  EXPECT_NE(text.find("Lines.Strings = (\n"), String::npos) << text;
  EXPECT_NE(text.find("'Fruit'"), String::npos) << text;
  EXPECT_NE(text.find("PictureLeaf.Data"), String::npos) << text;
  EXPECT_EQ(text.find("PictureOpen"), String::npos) << "untouched pictures are left out";
  EXPECT_EQ(text.find("PicturePlus"), String::npos) << text;
  EXPECT_NE(text.find("PictureMinus.Data"), String::npos) << text;

  for (const String& data : {text, ComponentToBinary(&source)}) {
    TOutline copy(nullptr);
    ComponentFromString(data, &copy);
    EXPECT_EQ(OutlineText(copy), OutlineText(source));
    EXPECT_EQ(copy.ItemSeparator(), "/");
    EXPECT_EQ(copy.Get(3)->FullPath(), "Fruit/Apple/Cox");
    ASSERT_EQ(copy.GetPicture(opLeaf)->Width(), 3);
    EXPECT_EQ(copy.GetPicture(opLeaf)->ScanLine(1)[2], 0x123456u);
    EXPECT_TRUE(copy.IsDefaultPicture(opPlus));
    EXPECT_EQ(copy.GetPicture(opMinus)->ScanLine(5)[5], 0xFF0000u);
  }
}

TEST(TOutlineTest, FormDataRefusesWhatWouldNotReadBack) {
  TOutline source(nullptr);
  source.SetName("Outline1");
  LoadOutline(source, "A\n\tB\n");
  String text = ComponentToText(&source);
  const size_t b = text.find("#9'B'");
  ASSERT_NE(b, String::npos) << text;

  // A line two levels below the one before it: the read fails, the items stay.
  TOutline target(nullptr);
  LoadOutline(target, "Kept\n");
  EXPECT_ANY_THROW(ComponentFromString(String(text).replace(b, 5, "#9#9'B'"), &target));
  EXPECT_EQ(OutlineText(target), "Kept\n");
  // A stored line holding a line break or a zero character would not store again.
  for (const char* bad : {"'B'#10'C'", "'B'#13", "'B'#0"}) {
    EXPECT_THROW(ComponentFromString(String(text).replace(b + 2, 3, bad), &target), EOutlineError)
        << bad;
    EXPECT_EQ(OutlineText(target), "Kept\n");
  }

  // A text that starts with a tab would come back one level deeper: nothing is written.
  source.Get(2)->SetText("\tB");
  EXPECT_THROW(ComponentToText(&source), EOutlineError);
}

}  // namespace
}  // namespace bw
