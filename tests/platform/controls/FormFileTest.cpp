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

TEST_F(FormFileTest, ReadsTheFormFilesOtherToolsWrite) {
  const char* text =
      "object Form1: TForm\n"
      "  Left = 192\n"
      "  Top = 107\n"
      "  BorderStyle = bsDialog\n"
      "  Caption = 'Form1'\n"
      "  ClientHeight = 273\n"
      "  ClientWidth = 427\n"
      "  Color = clBtnFace\n"
      "  Font.Charset = RUSSIAN_CHARSET\n"
      "  Font.Color = clWindowText\n"
      "  Font.Height = -11\n"
      "  Font.Name = 'MS Sans Serif'\n"
      "  Font.Style = []\n"
      "  OldCreateOrder = False\n"
      "  Position = poScreenCenter\n"
      "  PixelsPerInch = 96\n"
      "  TextHeight = 13\n"
      "  object Button1: TButton\n"
      "    Left = 16\n"
      "    Top = 16\n"
      "    Width = 75\n"
      "    Height = 25\n"
      "    Cursor = crHandPoint\n"
      "    Caption = 'Button1'\n"
      "    Default = True\n"
      "    TabOrder = 0\n"
      "  end\n"
      "end\n";
  TForm* form = new TForm(nullptr);
  ComponentFromString(text, form);
  EXPECT_EQ(form->ClientWidth(), 427);
  EXPECT_EQ(form->ClientHeight(), 273);
  EXPECT_EQ(form->BorderStyle(), bsDialog);
  EXPECT_EQ(form->Font()->Charset(), 204);
  EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
  auto* button = dynamic_cast<TButton*>(form->FindComponent("Button1"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Cursor(), crHandPoint);
  EXPECT_TRUE(button->Default());
  form->Show();
  EXPECT_EQ(form->Left(), (1024 - 427) / 2) << "poScreenCenter centres the form";
  String again = ComponentToText(form);
  EXPECT_NE(again.find("Font.Charset = RUSSIAN_CHARSET"), String::npos) << again;
  EXPECT_NE(again.find("Cursor = crHandPoint"), String::npos) << again;
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

// A damaged or hand-made form can place controls at the far edge of the coordinates. They
// read, show, paint and store again; an edge past the range stops at its end.
TEST_F(FormFileTest, ControlsAtTheFarEdgeOfTheCoordinatesShowAndStore) {
  const String text =
      "object Far: TForm\n"
      "  Left = 2147483647\n  Top = -2147483648\n  Width = 300\n  Height = 200\n"
      "  object Edge: TButton\n"
      "    Left = 2147483600\n    Top = 2147483600\n    Width = 300\n    Height = 300\n"
      "  end\n"
      "  object Near: TButton\n    Left = -2147483600\n    Width = 75\n  end\n"
      "end\n";
  TForm* form = new TForm(Application);
  ComponentFromString(text, form);
  auto* edge = dynamic_cast<TButton*>(form->FindComponent("Edge"));
  ASSERT_NE(edge, nullptr);
  EXPECT_EQ(edge->Width(), 300);
  EXPECT_EQ(edge->BoundsRect().Right, INT32_MAX);
  EXPECT_EQ(edge->BoundsRect().Bottom, INT32_MAX);
  form->Show();
  Application->ProcessMessages();
  TForm* copy = new TForm(nullptr);  // freed with the screen's forms by Reset
  ComponentFromString(ComponentToText(form), copy);
  EXPECT_EQ(ComponentToText(copy), ComponentToText(form));
}

// No RegisterClass here: the platform's published controls are known from the start.
TEST_F(ControlsTest, FormsWithThePlatformsControlsReadWithoutRegistration) {
  const String text =
      "object Dialog: TForm\n"
      "  object Name: TEdit\n    Left = 8\n  end\n"
      "  object Date: TMaskEdit\n    Left = 8\n  end\n"
      "  object Pick: TSpeedButton\n    Left = 8\n  end\n"
      "  object Cells: TDrawGrid\n    Left = 8\n  end\n"
      "  object Tree: TOutline\n    Left = 8\n  end\n"
      "  object Ok: TButton\n    Left = 8\n  end\n"
      "end\n";
  TComponent* form = ComponentFromString(text, nullptr, Application);
  ASSERT_NE(form, nullptr);
  for (const char* name : {"Name", "Date", "Pick", "Cells", "Tree", "Ok"})
    EXPECT_NE(form->FindComponent(name), nullptr) << name;
  EXPECT_EQ(form->FindComponent("Cells")->ClassName(), "TDrawGrid");
  EXPECT_EQ(form->FindComponent("Tree")->ClassName(), "TOutline");
  delete form;
}

}  // namespace bw::test
