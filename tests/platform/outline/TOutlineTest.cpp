#include "platform/outline/TOutline.h"

#include <gtest/gtest.h>

#include "platform/core/FormStreaming.h"
#include "platform/core/TStrings.h"
#include "tests/platform/outline/OutlineTestUtil.h"

namespace bw {
namespace {

using testing::LoadOutline;
using testing::OutlineText;

TEST(TOutlineTest, FormDataKeepsItemsAndSeparator) {
  TOutline source(nullptr);
  source.SetName("Outline1");
  LoadOutline(source, "Fruit\n\tApple\n\t\tCox\n\tPear\nNuts\n");
  source.SetItemSeparator("/");

  const String text = ComponentToText(&source);
  EXPECT_NE(text.find("Lines.Strings = (\n"), String::npos) << text;
  EXPECT_NE(text.find("'Fruit'"), String::npos) << text;

  for (const String& data : {text, ComponentToBinary(&source)}) {
    TOutline copy(nullptr);
    ComponentFromString(data, &copy);
    EXPECT_EQ(OutlineText(copy), OutlineText(source));
    EXPECT_EQ(copy.ItemSeparator(), "/");
    EXPECT_EQ(copy.Get(3)->FullPath(), "Fruit/Apple/Cox");
  }
}

}  // namespace
}  // namespace bw
