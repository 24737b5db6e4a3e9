#include "ControlsFixture.h"
#include "platform/controls/TButton.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/FormStreaming.h"
#include "platform/graphics/TFont.h"

namespace bw::test {

class FormFileTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    RegisterClasses<TForm, TButton>();
  }
};

TEST_F(FormFileTest, AFormWithButtonsRoundTripsThroughText) {
  TForm* form = new TForm(Application);
  form->SetName("Dialog");
  form->SetCaption("Settings");
  form->SetBounds(50, 60, 250, 120);
  form->SetKeyPreview(true);
  auto* ok = new TButton(form);
  ok->SetName("OkButton");
  ok->SetParent(form);
  ok->SetBounds(10, 80, 75, 25);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = new TButton(form);
  cancel->SetName("CancelButton");
  cancel->SetParent(form);
  cancel->SetBounds(100, 80, 75, 25);
  cancel->SetCaption("Cancel");
  cancel->SetCancel(true);
  cancel->Font()->SetStyle({fsBold});
  cancel->SetTabOrder(0);

  String text = ComponentToText(form);
  EXPECT_NE(text.find("object Dialog: TForm"), String::npos) << text;
  EXPECT_NE(text.find("object OkButton: TButton"), String::npos) << text;
  EXPECT_EQ(text.find("Visible"), String::npos) << "defaults stay out: " << text;
  EXPECT_EQ(text.find("OkButton: TButton\n    Left = 10\n    Top = 80\n    Width = 75\n    "
                      "Height = 25\n    Font"),
            String::npos)
      << "a parent font is not stored";

  TForm* copy = new TForm(nullptr);  // freed with the screen's forms by Reset
  ComponentFromString(text, copy);
  EXPECT_EQ(copy->Name(), "Dialog");
  EXPECT_EQ(copy->Caption(), "Settings");
  EXPECT_EQ(copy->BoundsRect(), Bounds(50, 60, 250, 120));
  EXPECT_TRUE(copy->KeyPreview());
  EXPECT_FALSE(copy->Visible());
  auto* ok2 = dynamic_cast<TButton*>(copy->FindComponent("OkButton"));
  auto* cancel2 = dynamic_cast<TButton*>(copy->FindComponent("CancelButton"));
  ASSERT_TRUE(ok2 && cancel2);
  EXPECT_EQ(ok2->Parent(), copy);
  EXPECT_TRUE(ok2->Default());
  EXPECT_EQ(ok2->ModalResult(), mrOk);
  EXPECT_EQ(ok2->BoundsRect(), Bounds(10, 80, 75, 25));
  EXPECT_TRUE(cancel2->Cancel());
  EXPECT_EQ(cancel2->TabOrder(), 0);
  EXPECT_EQ(ok2->TabOrder(), 1);
  EXPECT_TRUE(cancel2->Font()->Style().Contains(fsBold));
  EXPECT_FALSE(cancel2->ParentFont());
  EXPECT_TRUE(ok2->ParentFont());
  EXPECT_EQ(ComponentToText(copy), text);
}

TEST_F(FormFileTest, ColoursAreStoredByNameWhenTheyHaveOne) {
  TForm* form = new TForm(Application);
  form->SetName("Colours");
  form->SetColor(clWindow);
  auto* b = new TButton(form);
  b->SetName("B");
  b->SetParent(form);
  b->SetColor(RGB(1, 2, 3));
  String text = ComponentToText(form);
  EXPECT_NE(text.find("Color = clWindow"), String::npos) << text;
  EXPECT_NE(text.find("Color = 197121"), String::npos) << text;
  b->Font()->SetColor(clRed);
  text = ComponentToText(form);
  EXPECT_NE(text.find("Font.Color = clRed"), String::npos) << text;
  TForm* copy = new TForm(nullptr);
  ComponentFromString(text, copy);
  EXPECT_EQ(copy->Color(), clWindow);
  EXPECT_EQ(dynamic_cast<TButton*>(copy->FindComponent("B"))->Color(), RGB(1, 2, 3));
  EXPECT_EQ(dynamic_cast<TButton*>(copy->FindComponent("B"))->Font()->Color(), clRed);
  TForm* bad = new TForm(nullptr);
  try {
    ComponentFromString("object X: TForm\n  Color = clNoSuchColour\nend\n", bad);
    ADD_FAILURE() << "an unknown colour name must not read";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("clNoSuchColour"), String::npos) << e.Message();
  }
}

TEST_F(FormFileTest, AStoredVisibleFormShowsOnceLoaded) {
  TForm* form = new TForm(Application);
  form->SetName("Shown");
  auto* button = new TButton(form);
  button->SetName("B");
  button->SetParent(form);
  form->Show();
  String text = ComponentToText(form);
  EXPECT_NE(text.find("Visible = True"), String::npos);
  TForm* copy = new TForm(nullptr);  // freed with the screen's forms by Reset
  ComponentFromString(text, copy);
  EXPECT_TRUE(copy->Showing());
  EXPECT_TRUE(dynamic_cast<TButton*>(copy->FindComponent("B"))->HandleAllocated());
}

}  // namespace bw::test
