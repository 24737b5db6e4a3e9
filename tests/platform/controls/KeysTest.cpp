#include "ControlsFixture.h"
#include "platform/controls/ShortCut.h"
#include "platform/controls/TButton.h"
#include "platform/controls/TEdit.h"

namespace bw::test {

class KeysTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = NewForm();
    edit = new TProbe(form, &log, "e");
    edit->SetParent(form);
    edit->SetTabStop(true);
    edit->DlgCode = DLGC_WANTCHARS | DLGC_WANTARROWS;
    ok = AddButton("OK", 10);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    ok->OnClick = TNotifyEvent([this](TObject*) { log.push_back("ok"); });
    cancel = AddButton("Cancel", 100);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    cancel->OnClick = TNotifyEvent([this](TObject*) { log.push_back("cancel"); });
    edit->SetFocus();
    Application->ProcessMessages();
    log.clear();
  }
  TButton* AddButton(const char* Caption, int32_t Left) {
    auto* b = new TButton(form);
    b->SetParent(form);
    b->SetBounds(Left, 150, 75, 25);
    b->SetCaption(Caption);
    return b;
  }
  std::vector<std::string> Keys() const {
    std::vector<std::string> out;
    for (auto& s : log)
      if (s.find("paint") == std::string::npos) out.push_back(s);
    return out;
  }
  std::vector<std::string> log;
  TForm* form = nullptr;
  TProbe* edit = nullptr;
  TButton* ok = nullptr;
  TButton* cancel = nullptr;
};

TEST_F(KeysTest, EnterAndEscapeReachTheDefaultAndCancelButtons) {
  THeadlessInput::Key(VK_RETURN);
  EXPECT_EQ(Keys(), std::vector<std::string>{"ok"}) << "the edit never sees the key";
  EXPECT_EQ(form->ModalResult(), mrOk);
  log.clear();
  THeadlessInput::Key(VK_ESCAPE);
  EXPECT_EQ(Keys(), std::vector<std::string>{"cancel"});
  EXPECT_EQ(form->ModalResult(), mrCancel);
}

TEST_F(KeysTest, ModifiedEnterIsNotADialogKeyForButtons) {
  THeadlessInput::Key(VK_RETURN, kModShift);
  EXPECT_EQ(Keys(), (std::vector<std::string>{"e:keydown(13)", "e:char(13)"}));
}

TEST_F(KeysTest, AControlThatWantsAllKeysKeepsEnter) {
  edit->DlgCode = DLGC_WANTALLKEYS;
  THeadlessInput::Key(VK_RETURN);
  EXPECT_EQ(Keys(), (std::vector<std::string>{"e:keydown(13)", "e:char(13)"}));
}

TEST_F(KeysTest, AFocusedButtonTakesEnterFromTheDefault) {
  cancel->SetFocus();
  log.clear();
  EXPECT_TRUE(cancel->IsActiveDefault());
  EXPECT_FALSE(ok->IsActiveDefault());
  THeadlessInput::Key(VK_RETURN);
  EXPECT_EQ(Keys(), std::vector<std::string>{"cancel"});
  edit->SetFocus();
  EXPECT_TRUE(ok->IsActiveDefault()) << "focus away from buttons gives Enter back";
}

TEST_F(KeysTest, SpaceClicksTheFocusedButton) {
  ok->SetFocus();
  log.clear();
  THeadlessInput::Key(VK_SPACE);
  EXPECT_EQ(Keys(), std::vector<std::string>{"ok"});
}

TEST_F(KeysTest, DisabledDefaultButtonIgnoresEnter) {
  ok->SetEnabled(false);
  THeadlessInput::Key(VK_RETURN);
  EXPECT_EQ(Keys(), (std::vector<std::string>{"e:keydown(13)", "e:char(13)"}));
}

TEST_F(KeysTest, TypedTextBecomesOneCharPerCodePoint) {
  THeadlessInput::Type("a\xC3\xA9\xF0\x9F\x98\x80");
  EXPECT_EQ(Keys(), (std::vector<std::string>{"e:char(97)", "e:char(233)", "e:char(128512)"}));
}

TEST_F(KeysTest, KeyPreviewLetsTheFormEatKeysFirst) {
  form->SetKeyPreview(true);
  form->OnKeyDown = TKeyEvent([](TObject*, uint16_t& Key, TShiftState) {
    if (Key == 'X') Key = 0;
  });
  form->OnKeyPress = TKeyPressEvent([](TObject*, Char& Key) {
    if (Key == 'y') Key = 'z';
  });
  THeadlessInput::Key('X');
  THeadlessInput::Key('Q');
  THeadlessInput::Type("y");
  EXPECT_EQ(Keys(), (std::vector<std::string>{"e:keydown(81)", "e:char(122)"}));
}

TEST_F(KeysTest, ArrowsMoveAmongSiblingsOnlyWhenTheControlDoesNotWantThem) {
  edit->DlgCode = 0;
  auto* next = new TProbe(form, &log, "n");
  next->SetParent(form);
  next->SetBounds(0, 40, 10, 10);
  next->SetTabStop(false);
  THeadlessInput::Key(VK_DOWN);
  EXPECT_EQ(form->ActiveControl(), ok) << "arrows ignore TabStop";
}

TEST(ShortCutTest, FoldsShiftStatesIntoTheHighBits) {
  EXPECT_EQ(ShortCut(VK_DOWN, {ssCtrl}), 0x4028);
  EXPECT_EQ(ShortCut('A', {ssShift, ssAlt}), 0x41 + 0x2000 + 0x8000);
  EXPECT_EQ(ShortCut(0x1FF, {}), 0);
  uint16_t key = 0;
  TShiftState shift;
  ShortCutToKey(0x4028, key, shift);
  EXPECT_EQ(key, VK_DOWN);
  EXPECT_EQ(shift, TShiftState{ssCtrl});
}

TEST_F(KeysTest, AControlMayFreeItselfInItsKeyHandlers) {
  // An editor that goes away on Enter, on a typed character or when a key comes up.
  auto editor = [this] {
    auto* e = new TEdit(form);
    e->SetParent(form);
    e->SetTop(60);
    e->SetFocus();
    return e;
  };
  const int32_t count = form->ControlCount();
  TEdit* e = editor();
  e->OnKeyDown = TKeyEvent([&](TObject*, uint16_t& K, TShiftState) {
    if (K == VK_DELETE) delete e;
  });
  THeadlessInput::Key(VK_DELETE);
  EXPECT_EQ(form->ControlCount(), count);
  e = editor();
  e->OnKeyPress = TKeyPressEvent([&](TObject*, Char&) { delete e; });
  THeadlessInput::Type("q");
  EXPECT_EQ(form->ControlCount(), count);
  e = editor();
  e->OnKeyUp = TKeyEvent([&](TObject*, uint16_t&, TShiftState) { delete e; });
  THeadlessInput::Key(VK_LEFT);
  EXPECT_EQ(form->ControlCount(), count);
  EXPECT_EQ(form->ActiveControl(), nullptr) << "the form keeps the focus";
  THeadlessInput::Type("x");

  // A form that previews keys may free the focused control in its own handlers.
  form->SetKeyPreview(true);
  e = editor();
  form->OnKeyDown = TKeyEvent([&](TObject*, uint16_t& K, TShiftState) {
    if (K == VK_DELETE) delete e;
  });
  THeadlessInput::Key(VK_DELETE);
  EXPECT_EQ(form->ControlCount(), count);
  e = editor();
  form->OnKeyPress = TKeyPressEvent([&](TObject*, Char&) { delete e; });
  THeadlessInput::Type("q");
  EXPECT_EQ(form->ControlCount(), count);
  e = editor();
  form->OnKeyUp = TKeyEvent([&](TObject*, uint16_t&, TShiftState) { delete e; });
  THeadlessInput::Key(VK_LEFT);
  EXPECT_EQ(form->ControlCount(), count);
}

}  // namespace bw::test
