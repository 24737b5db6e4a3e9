#include "ControlsFixture.h"
#include "platform/controls/TEdit.h"
#include "platform/controls/TMaskEdit.h"
#include "platform/controls/TSpeedButton.h"
#include "platform/core/FormStreaming.h"
#include "platform/graphics/TBitmap.h"

namespace bw::test {

TEST_F(ControlsTest, EditsStoreTheirPublishedPropertiesInForms) {
  TMaskEdit source(nullptr);
  source.SetName("Phone");
  source.SetEditMask("!\\(999\\)000-0000;0;_");
  source.SetText("5551234567");
  source.SetCharCase(ecUpperCase);
  source.SetMaxLength(20);
  const String text = ComponentToText(&source);
  EXPECT_NE(text.find("EditMask = '!\\(999\\)000-0000;0;_'"), String::npos) << text;
  EXPECT_NE(text.find("Text = '5551234567'"), String::npos) << text;
  EXPECT_EQ(text.find("AutoSelect"), String::npos) << text;  // left at its default

  TMaskEdit copy(nullptr);
  ComponentFromString(text, &copy);
  EXPECT_EQ(copy.EditText(), "(555)123-4567");  // the mask was there before the text
  EXPECT_EQ(copy.CharCase(), ecUpperCase);
  EXPECT_EQ(copy.MaxLength(), 20);

  TEdit edit(nullptr);
  edit.SetName("Plain");
  edit.SetText("hello");
  edit.SetReadOnly(true);
  edit.SetBorderStyle(bsNone);
  TEdit editCopy(nullptr);
  ComponentFromString(ComponentToBinary(&edit), &editCopy);
  EXPECT_EQ(editCopy.Text(), "hello");
  EXPECT_TRUE(editCopy.ReadOnly());
  EXPECT_EQ(editCopy.BorderStyle(), bsNone);
  // Event handlers are stored by their names.
  edit.OnChange = TNotifyEvent([](TObject*) {}, "PlainChange");
  edit.OnKeyPress = TKeyPressEvent([](TObject*, Char&) {}, "PlainKey");
  const String stored = ComponentToText(&edit);
  EXPECT_NE(stored.find("OnChange = PlainChange"), String::npos) << stored;
  EXPECT_NE(stored.find("OnKeyPress = PlainKey"), String::npos) << stored;
}

TEST_F(ControlsTest, SpeedButtonsStoreTheirGlyphAndGroup) {
  TSpeedButton source(nullptr);
  source.SetName("Bold");
  TBitmap glyph;
  glyph.SetSize(32, 16);
  glyph.ScanLine(3)[20] = 0x123456;
  source.SetGlyph(&glyph);  // two images
  source.SetGroupIndex(3);
  source.SetDown(true);
  source.SetCaption("B");
  source.SetFlat(true);
  const String text = ComponentToText(&source);
  EXPECT_NE(text.find("NumGlyphs = 2"), String::npos) << text;
  EXPECT_EQ(text.find("Margin"), String::npos) << text;

  TSpeedButton copy(nullptr);
  ComponentFromString(ComponentToBinary(&source), &copy);
  EXPECT_EQ(copy.Glyph()->Width(), 32);
  EXPECT_EQ(copy.Glyph()->ScanLine(3)[20], 0x123456u);
  EXPECT_EQ(copy.NumGlyphs(), 2);
  EXPECT_EQ(copy.GroupIndex(), 3);
  EXPECT_TRUE(copy.Down());  // the group index was read first
  EXPECT_EQ(copy.Caption(), "B");
  EXPECT_TRUE(copy.Flat());
}

}  // namespace bw::test
