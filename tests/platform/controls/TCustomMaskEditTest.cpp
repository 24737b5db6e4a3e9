#include "platform/controls/TCustomMaskEdit.h"

#include "ControlsFixture.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/controls/EDBEditError.h"
#include "platform/controls/EditStrings.h"

namespace bw::test {

namespace {

const String kPhone = "!\\(999\\)000-0000;1;_";

class TTestMaskEdit : public TCustomMaskEdit {
  BW_CLASS(TTestMaskEdit, TCustomMaskEdit)

 public:
  using TCustomMaskEdit::TCustomMaskEdit;
  int32_t Changes = 0;
  bool CanModifyNow = true;

 protected:
  void Change() override {
    ++Changes;
    inherited::Change();
  }
  bool EditCanModify() override { return CanModifyNow; }
};

class MaskEditTest : public ControlsTest {
 protected:
  TForm* Form = nullptr;
  TTestMaskEdit* Edit = nullptr;
  TTestMaskEdit* Next = nullptr;
  std::vector<String> Errors;

  void SetUp() override {
    ControlsTest::SetUp();
    Application->OnException = [this](TObject*, const Exception& E) { Errors.push_back(E.what()); };
    Form = NewForm(320, 160);
    Edit = new TTestMaskEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 150, 21);
    Edit->SetEditMask(kPhone);
    Next = new TTestMaskEdit(Form);
    Next->SetParent(Form);
    Next->SetBounds(10, 50, 150, 21);
    Application->ProcessMessages();
    Edit->SetFocus();
    Application->ProcessMessages();
    Key(VK_HOME);
    Edit->Changes = 0;
  }

  void Key(uint16_t K, uint32_t Mods = 0) { THeadlessInput::Key(K, Mods); }
  void Type(const String& S) { THeadlessInput::Type(S); }
};

}  // namespace

TEST_F(MaskEditTest, TypingFillsPlacesPastLiterals) {
  EXPECT_EQ(Edit->EditText(), "(___)___-____");
  EXPECT_EQ(Edit->Text(), "(   )   -    ");
  Type("555x123");
  EXPECT_EQ(Edit->EditText(), "(555)123-____");
  EXPECT_EQ(Edit->Changes, 6);  // the refused 'x' changed nothing
  Type("4567890");
  EXPECT_EQ(Edit->EditText(), "(555)123-4567");
  EXPECT_EQ(Edit->Text(), "(555)123-4567");
  EXPECT_TRUE(Edit->Modified());
  // Without saved literals the value is the places alone.
  Edit->SetEditMask("!\\(999\\)000-0000;0;_");
  EXPECT_EQ(Edit->Text(), "5551234567");
  EXPECT_EQ(Edit->EditText(), "(555)123-4567");
}

TEST_F(MaskEditTest, KeysMoveOverLiteralsAndBlankPlaces) {
  Edit->SetText("5551234567");
  Key(VK_END);
  Key(VK_BACK);
  EXPECT_EQ(Edit->EditText(), "(555)123-456_");
  for (int i = 0; i < 4; ++i)  // the last step goes over the '-'
    Key(VK_LEFT);
  EXPECT_EQ(Edit->SelStart(), 7);
  Key(VK_DELETE);
  EXPECT_EQ(Edit->EditText(), "(555)12_-456_");
  Key(VK_RIGHT);
  EXPECT_EQ(Edit->SelStart(), 9);
  Key(VK_HOME);
  Key(VK_RIGHT, kModShift);
  Key(VK_RIGHT, kModShift);
  Key(VK_RIGHT, kModShift);
  Key(VK_DELETE);
  EXPECT_EQ(Edit->EditText(), "(__5)12_-456_");
  Key('Z', kModCtrl);
  EXPECT_EQ(Edit->EditText(), "(555)12_-456_");
}

TEST_F(MaskEditTest, PasteAndCutWorkPlaceByPlace) {
  Headless().SetClipboardText("(555) 123-4567\nsecond line");
  Key('V', kModCtrl);
  EXPECT_EQ(Edit->EditText(), "(555)123-4567");
  Edit->SetSelStart(5);
  Edit->SetSelLength(4);
  Key('X', kModCtrl);
  EXPECT_EQ(Headless().ClipboardText(), "123-");
  EXPECT_EQ(Edit->EditText(), "(555)___-4567");
  Edit->SetSelText("98");
  EXPECT_EQ(Edit->EditText(), "(555)98_-4567");
}

TEST_F(MaskEditTest, ReadOnlyAndEditCanModifyRefuseChanges) {
  Edit->SetText("5551234567");
  for (int round = 0; round < 2; ++round) {
    Edit->SetReadOnly(round == 0);
    Edit->CanModifyNow = round == 0;
    Headless().SetClipboardText("999");
    Edit->SelectAll();
    Key('V', kModCtrl);
    Key('X', kModCtrl);
    Key(VK_HOME);
    Type("1");
    Key(VK_DELETE);
    Key(VK_END);
    Key(VK_BACK);
    EXPECT_EQ(Edit->EditText(), "(555)123-4567") << round;
    EXPECT_EQ(Headless().ClipboardText(), "999") << round;
  }
}

TEST_F(MaskEditTest, ChangingTheMaskKeepsTheValue) {
  Edit->SetText("5551234567");
  Edit->SetEditMask("");
  EXPECT_FALSE(Edit->IsMasked());
  EXPECT_EQ(Edit->Text(), "(555)123-4567");
  Edit->SetEditMask("000.000.0000;0;*");
  EXPECT_EQ(Edit->EditText(), "555.123.4567");
  EXPECT_EQ(Edit->Text(), "5551234567");
  Edit->SetEditMask(">LL-00;1;_");
  Edit->SetText("ab12");
  EXPECT_EQ(Edit->EditText(), "AB-12");
  Edit->SetEditText("c?-3x");
  EXPECT_EQ(Edit->EditText(), "C_-3_");
  Key(VK_HOME);
  Type("q");
  EXPECT_EQ(Edit->EditText(), "Q_-3_");
}

TEST_F(MaskEditTest, LeavingAnIncompleteChangedValueKeepsTheFocus) {
  Key(VK_TAB);  // not modified: no complaint
  EXPECT_TRUE(Next->Focused());
  EXPECT_TRUE(Errors.empty());
  Edit->SetFocus();
  Application->ProcessMessages();
  Key(VK_HOME);
  Type("555123");
  Key(VK_TAB);
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0], SMaskEditErr);
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(Edit->SelStart(), 9);  // the first empty required place
  Type("4567");
  Key(VK_TAB);
  EXPECT_EQ(Errors.size(), 1u);
  EXPECT_TRUE(Next->Focused());
  EXPECT_THROW(
      {
        Edit->SetEditText("(555)___-____");
        Edit->SetModified(true);
        Edit->ValidateEdit();
      },
      EDBEditError);
}

TEST_F(MaskEditTest, EscapeBringsBackTheEnteredValue) {
  Edit->SetText("5551234567");
  Key(VK_HOME);
  Type("999");
  EXPECT_EQ(Edit->EditText(), "(999)123-4567");
  Key(VK_ESCAPE);
  EXPECT_EQ(Edit->EditText(), "(555)123-4567");
  EXPECT_FALSE(Edit->Modified());
}

TEST_F(MaskEditTest, WithoutAMaskItIsAPlainEdit) {
  Next->SetFocus();
  Application->ProcessMessages();
  Next->SetMaxLength(4);
  Type("abcdef");
  EXPECT_EQ(Next->Text(), "abcd");
  Key(VK_BACK);
  EXPECT_EQ(Next->Text(), "abc");
  Key(VK_ESCAPE);
  EXPECT_EQ(Next->Text(), "abc");
}

TEST_F(MaskEditTest, ItMayBeFreedInItsOwnKeyHandlers) {
  Edit->OnKeyPress = TKeyPressEvent([this](TObject*, Char&) { delete Edit; });
  Type("1");
  Next->SetEditMask(kPhone);
  Next->SetFocus();
  Next->OnKeyDown = TKeyEvent([this](TObject*, uint16_t&, TShiftState) { delete Next; });
  Key(VK_RIGHT);
  EXPECT_EQ(Form->ControlCount(), 0);
}

}  // namespace bw::test
