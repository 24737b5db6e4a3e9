// The combo editor's keys, read-only and direct-input switches, clipboard, focus and
// caret, and the popup's drop-down and close-up by every way the user has.

#include <tuple>

#include "ComboEditTestSupport.h"
#include "editor/PlacePopup.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/controls/TButton.h"
#include "platform/controls/TEdit.h"
#include "platform/controls/WinApi.h"
#include "platform/core/Exception.h"
#include "platform/graphics/TFont.h"

namespace bw::testing {
namespace {

/// Counts the button actions instead of raising a grid's event.
class TCountingComboEdit : public TInplaceComboEdit {
 public:
  using TInplaceComboEdit::TInplaceComboEdit;
  int Actions = 0;

 protected:
  void ButtonClick() override { ++Actions; }
};

class ComboEditInputTest : public ComboEditTest {
 protected:
  /// A focused editor with text "hello"; every OnChange and key reaching the base is
  /// counted.
  template <class E>
  E* Focused(TRect R = Bounds(20, 20, 160, 24)) {
    E* e = NewEditor<E>(R);
    e->SetText("hello");
    e->SetFocus();
    Application->ProcessMessages();
    e->OnChange = TNotifyEvent([this](TObject*) { ++Changes; });
    e->OnKeyDown =
        TKeyEvent([this](TObject*, uint16_t& Key, TShiftState) { KeysDown.push_back(Key); });
    e->OnKeyPress = TKeyPressEvent([this](TObject*, Char& Key) { KeysPressed.push_back(Key); });
    return e;
  }
  bool EditReadOnly(TCustomEdit* E) { return E->TCustomEdit::ReadOnly(); }

  int Changes = 0;
  std::vector<uint16_t> KeysDown;
  std::vector<Char> KeysPressed;
};

// ---- read-only and direct input ----

struct InputCase {
  const char* Name;
  bool ReadOnly;
  bool DirectInput;
  bool Typing;  // typing, paste and cut change the text
  bool Button;  // the button and ClickKey act
};

class ComboEditSwitchesTest : public ComboEditInputTest,
                              public ::testing::WithParamInterface<InputCase> {};

TEST_P(ComboEditSwitchesTest, TypingClipboardAndButtonFollowReadOnlyAndDirectInput) {
  const InputCase c = GetParam();
  auto* e = Focused<TCountingComboEdit>();
  e->SetReadOnly(c.ReadOnly);
  e->SetDirectInput(c.DirectInput);

  e->SetSelStart(5);
  THeadlessInput::Type("!");
  EXPECT_EQ(e->Text(), c.Typing ? "hello!" : "hello");
  e->SetText("hello");

  Headless().SetClipboardText("xyz");
  e->SetSelStart(0);
  e->SetSelLength(2);
  THeadlessInput::Key('V', kModCtrl);
  EXPECT_EQ(e->Text(), c.Typing ? "xyzllo" : "hello");
  e->SetText("hello");
  e->SetSelStart(0);
  e->SetSelLength(2);
  THeadlessInput::Key('X', kModCtrl);
  EXPECT_EQ(e->Text(), c.Typing ? "llo" : "hello");
  EXPECT_EQ(Headless().ClipboardText(), c.Typing ? "he" : "xyz");

  e->SetSelLength(0);
  e->SelectAll();
  EXPECT_EQ(e->SelLength(), c.DirectInput ? int32_t(e->Text().size()) : 0);

  ClickButton(e);
  KeysDown.clear();
  THeadlessInput::Key(VK_DOWN, kModCtrl);
  e->DoClick();
  EXPECT_EQ(e->Actions, c.Button ? 3 : 0);
  // ClickKey never reaches the base editor, even when the button does nothing.
  EXPECT_EQ(KeysDown, std::vector<uint16_t>{0}) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(Switches, ComboEditSwitchesTest,
                         ::testing::Values(InputCase{"Editable", false, true, true, true},
                                           InputCase{"ReadOnly", true, true, false, false},
                                           InputCase{"ButtonOnly", false, false, false, true},
                                           InputCase{"Locked", true, false, false, false}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(ComboEditInputTest, SwitchesKeepTheEditsReadOnlyState) {
  auto* e = NewEditor();
  e->SetReadOnly(true);
  EXPECT_TRUE(EditReadOnly(e));
  e->SetReadOnly(false);
  e->SetDirectInput(false);
  EXPECT_TRUE(EditReadOnly(e));
  e->SetDirectInput(true);
  EXPECT_FALSE(EditReadOnly(e));
  // Setting DirectInput again re-applies the state; ReadOnly with its value changes nothing.
  static_cast<TCustomEdit*>(e)->SetReadOnly(true);
  e->SetReadOnly(false);
  EXPECT_TRUE(EditReadOnly(e));
  e->SetDirectInput(true);
  EXPECT_FALSE(EditReadOnly(e));
}

TEST_F(ComboEditInputTest, ClickKeyIsAnOrdinaryKeyWithoutAButton) {
  auto* e = Focused<TCountingComboEdit>();
  e->Button()->SetWidth(0);
  THeadlessInput::Key(VK_DOWN, kModCtrl);
  EXPECT_EQ(e->Actions, 0);
  EXPECT_EQ(KeysDown, std::vector<uint16_t>{VK_DOWN});
  // Another shortcut takes its place once set.
  e->Button()->SetWidth(15);
  e->SetClickKey(ShortCut(VK_F4, {}));
  THeadlessInput::Key(VK_F4);
  THeadlessInput::Key(VK_DOWN, kModCtrl);
  EXPECT_EQ(e->Actions, 1);
}

// ---- Enter and Escape ----

class ComboEditDialogKeysTest : public ComboEditInputTest {
 protected:
  void SetUp() override {
    ComboEditInputTest::SetUp();
    auto button = [this](bool Default, int* Count) {
      auto* b = new TButton(Form);
      b->SetParent(Form);
      b->SetBounds(Default ? 200 : 290, 250, 80, 25);
      if (Default)
        b->SetDefault(true);
      else
        b->SetCancel(true);
      b->OnClick = TNotifyEvent([Count](TObject*) { ++*Count; });
    };
    button(true, &Defaults);
    button(false, &Cancels);
  }
  int Defaults = 0;
  int Cancels = 0;
};

TEST_F(ComboEditDialogKeysTest, EnterAndEscapeReachTheFormsButtons) {
  auto* e = Focused<TInplaceComboEdit>();
  THeadlessInput::Key(VK_RETURN);
  EXPECT_EQ(Defaults, 1);
  EXPECT_EQ(e->Text(), "hello");
  THeadlessInput::Key(VK_ESCAPE);
  EXPECT_EQ(Cancels, 1);
  // Enter goes no further than the form; Escape goes on to the base editor too.
  EXPECT_EQ(KeysPressed, (std::vector<Char>{13, 27}));
  EXPECT_TRUE(e->Focused());
}

TEST_F(ComboEditDialogKeysTest, WithThePopupShownEnterAndEscapeOnlyCloseIt) {
  auto* e = Focused<TChoiceComboEdit>();
  e->DoClick();
  e->List->SetValue("blue");
  THeadlessInput::Key(VK_RETURN);
  EXPECT_FALSE(e->GetPopupVisible());
  EXPECT_EQ(e->Text(), "blue");
  e->DoClick();
  e->List->SetValue("red");
  THeadlessInput::Key(VK_ESCAPE);
  EXPECT_FALSE(e->GetPopupVisible());
  EXPECT_EQ(e->Text(), "blue");
  EXPECT_EQ(Defaults + Cancels, 0);
}

// ---- focus and caret ----

TEST_F(ComboEditInputTest, CaretIsAsHighAsTheTextAndWiderForBoldFonts) {
  auto* e = Focused<TInplaceComboEdit>();
  TCaretInfo caret = GetCaretInfo();
  EXPECT_EQ(caret.Owner, e->Handle());
  EXPECT_TRUE(caret.Visible);
  EXPECT_EQ(caret.Width, 1);
  EXPECT_EQ(caret.Height, e->GetTextHeight());
  EXPECT_EQ(caret.Pos.Y, e->FormatRect().Top);

  auto* other = new TEdit(Form);
  other->SetParent(Form);
  other->SetBounds(20, 100, 100, 24);
  other->SetFocus();
  e->Font()->SetStyle(TFontStyles{fsBold});
  e->SetFocus();
  EXPECT_EQ(GetCaretInfo().Width, 2);
}

TEST_F(ComboEditInputTest, EnteringByKeyboardSelectsOnlyWithDirectInput) {
  auto* e = NewEditor();
  e->SetText("abc");
  auto* other = new TEdit(Form);
  other->SetParent(Form);
  other->SetBounds(20, 100, 100, 24);
  other->SetFocus();
  e->SetFocus();
  EXPECT_EQ(e->SelLength(), 3);
  other->SetFocus();
  e->SetDirectInput(false);
  e->SetSelLength(0);
  e->SetFocus();
  EXPECT_EQ(e->SelLength(), 0);
}

// ---- the popup ----

class ComboEditPopupTest : public ComboEditInputTest {
 protected:
  TChoiceComboEdit* Open(TRect R = Bounds(20, 20, 160, 24)) {
    TChoiceComboEdit* e = Focused<TChoiceComboEdit>(R);
    e->DoClick();
    Application->ProcessMessages();
    return e;
  }
  TRect PopupScreenBounds(TChoiceComboEdit* E) {
    return Headless().WindowBounds(E->List->Surface());
  }
  bool PopupShown(TChoiceComboEdit* E) {
    return E->List->HandleAllocated() && Headless().WindowVisible(E->List->Surface());
  }
  /// Picks a row by pressing on it, and releases at P (popup coordinates).
  void PickAndRelease(TChoiceComboEdit* E, int32_t Row, TPoint P) {
    const TPoint at{10, Row * TChoicePopup::RowHeight + 5};
    THeadlessInput::MouseDown(E->List, at);
    THeadlessInput::MouseMove(E->List, P);
    THeadlessInput::MouseUp(E->List, P);
  }
};

TEST_F(ComboEditPopupTest, DropsDownBelowRightAlignedAsAPopUpSurfaceThatKeepsNoKeys) {
  auto* e = Open();
  ASSERT_TRUE(e->GetPopupVisible());
  EXPECT_TRUE(PopupShown(e));
  const TPoint corner = e->ClientToScreen(TPoint{0, 0});
  EXPECT_EQ(PopupScreenBounds(e),
            Bounds(corner.X + 160 - 100, corner.Y + 24, 100, e->List->Height()));
  EXPECT_TRUE(Headless().WindowIsPopup(e->List->Surface()));
  EXPECT_EQ(e->List->ItemIndex(), -1);
  EXPECT_EQ(e->List->SetValueCalls, 1);
  // The form keeps the keys, the editor the focus; typing is held while the list is open.
  EXPECT_EQ(Headless().ActiveWindow(), Form->Surface());
  EXPECT_TRUE(e->Focused());
  THeadlessInput::Type("x");
  EXPECT_EQ(e->Text(), "hello");
  EXPECT_TRUE(EditReadOnly(e));
}

TEST_F(ComboEditPopupTest, OpensAboveWhenTheScreenEndsBelowAndLeftAlignedAtTheScreensEdge) {
  Form->SetBounds(0, 100, 400, 300);
  Application->ProcessMessages();
  const int32_t listHeight = 3 * TChoicePopup::RowHeight + 2;
  // Exactly down to the screen's bottom still fits below.
  Headless().SetScreenSize(1024, 100 + 20 + 24 + listHeight);
  auto* e = Open(Bounds(0, 20, 80, 24));
  EXPECT_EQ(PopupScreenBounds(e).Top, 100 + 20 + 24);
  EXPECT_EQ(PopupScreenBounds(e).Left, 0) << "right-aligned would start left of the screen";
  e->PopupCloseUp(false);
  Headless().SetScreenSize(1024, 100 + 20 + 24 + listHeight - 1);
  e->DoClick();
  EXPECT_EQ(PopupScreenBounds(e).Top, 100 + 20 - listHeight);
  e->PopupCloseUp(false);
  Headless().SetScreenSize(300, 200);  // room on neither side: the roomier one, moved in
  e->List->SetBounds(0, 0, 250, 150);
  e->DoClick();
  EXPECT_EQ(PopupScreenBounds(e), Bounds(0, 0, 250, 150));
}

TEST(PlacePopupTest, PutsAPopupThatFitsWhollyOnTheScreen) {
  const std::tuple<TRect, int32_t, int32_t, TPoint> Cases[] = {
      {{100, 60, 200, 80}, 100, 150, {100, 50}},   // neither side fits, more room below
      {{100, 20, 200, 40}, 250, 100, {50, 40}},    // would pass the right edge
      {{100, 20, 200, 40}, 80, 160, {120, 40}},    // fits below, to the last pixel
      {{100, 150, 200, 170}, 80, 100, {120, 50}},  // fits above only
      {{100, 20, 200, 40}, 400, 100, {0, 40}},     // wider than the screen
      {{100, 60, 200, 80}, 400, 300, {0, 0}}};     // larger than the screen
  for (const auto& [Anchor, W, H, At] : Cases)
    EXPECT_EQ(PlacePopup(Anchor, W, H, {0, 0, 300, 200}), At) << Anchor.Top << "/" << W;
}

TEST_F(ComboEditPopupTest, ClickingIntoThePopupPicksWithoutActivatingIt) {
  auto* e = Open();
  PickAndRelease(e, 1, TPoint{10, 21});
  EXPECT_EQ(Headless().ActiveWindow(), Form->Surface());
  EXPECT_TRUE(e->Focused());
  EXPECT_FALSE(e->GetPopupVisible());
  EXPECT_FALSE(PopupShown(e));
  EXPECT_EQ(e->Text(), "green");
  EXPECT_EQ(Changes, 1);
  EXPECT_FALSE(EditReadOnly(e));
  EXPECT_EQ(e->SelLength(), 5) << "a focused editor selects the value it took";
}

TEST_F(ComboEditPopupTest, ReleasingOutsideThePopupDropsTheChoice) {
  auto* e = Open();
  PickAndRelease(e, 2, TPoint{10, -30});
  EXPECT_FALSE(e->GetPopupVisible());
  EXPECT_EQ(e->Text(), "hello");
  EXPECT_EQ(Changes, 0);
}

// Each way of closing: whether it takes the popup's value.
struct CloseCase {
  const char* Name;
  std::function<void(ComboEditPopupTest*, TChoiceComboEdit*)> Close;
  bool Accepts;
};

class ComboEditCloseTest : public ComboEditPopupTest,
                           public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ComboEditCloseTest, ClosesAndTakesTheValueOnlyWhenAccepting) {
  auto* e = Open();
  e->List->SetValue("blue");
  GetParam().Close(this, e);
  Application->ProcessMessages();
  EXPECT_FALSE(e->GetPopupVisible());
  EXPECT_FALSE(PopupShown(e));
  EXPECT_FALSE(EditReadOnly(e));
  EXPECT_EQ(e->Text(), GetParam().Accepts ? "blue" : "hello");
  EXPECT_EQ(Changes, GetParam().Accepts ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ComboEditCloseTest,
    ::testing::Values(
        CloseCase{"Enter", [](auto*, auto*) { THeadlessInput::Key(VK_RETURN); }, true},
        CloseCase{"ButtonAction", [](auto*, auto* e) { e->DoClick(); }, true},
        CloseCase{"ButtonPress",
                  [](auto*, auto* e) {
                    THeadlessInput::Click(e->Button(), TPoint{5, 5});
                  },
                  true},
        CloseCase{"PopupCloseUp", [](auto*, auto* e) { e->List->CloseUp(true); }, true},
        CloseCase{"Escape", [](auto*, auto*) { THeadlessInput::Key(VK_ESCAPE); }, false},
        CloseCase{"PressInText",
                  [](auto*, auto* e) {
                    THeadlessInput::Click(e, TPoint{5, 5});
                  },
                  false},
        CloseCase{"FocusLost",
                  [](auto*, auto* e) {
                    auto* other = new TEdit(e->Owner());
                    other->SetParent(e->Parent());
                    other->SetBounds(20, 100, 100, 24);
                    other->SetFocus();
                  },
                  false},
        CloseCase{"PressOnAnotherControl",
                  [](auto*, auto* e) {
                    auto* other = new TButton(e->Owner());
                    other->SetParent(e->Parent());
                    other->SetBounds(20, 100, 100, 24);
                    THeadlessInput::MouseDown(other, TPoint{5, 5});
                  },
                  false},
        CloseCase{"EditorHidden", [](auto*, auto* e) { e->SetVisible(false); }, false}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(ComboEditPopupTest, PressThatClosesThePopupSwallowsItsClick) {
  auto* e = Open();
  ClickButton(e);
  EXPECT_FALSE(e->GetPopupVisible()) << "the click did not drop it down again";
  EXPECT_FALSE(e->Button()->IgnoresNextClick());
  ClickButton(e);
  EXPECT_TRUE(e->GetPopupVisible());
  // A right press neither closes it nor marks a click to swallow.
  THeadlessInput::Click(e->Button(), TPoint{3, 3}, mbRight);
  EXPECT_TRUE(e->GetPopupVisible());
  EXPECT_FALSE(e->Button()->IgnoresNextClick());
  // A press released off the button leaves the mark until the next left press.
  THeadlessInput::MouseDown(e->Button(), TPoint{3, 3});
  THeadlessInput::MouseUp(e, TPoint{5, 5});
  EXPECT_FALSE(e->GetPopupVisible());
  EXPECT_TRUE(e->Button()->IgnoresNextClick());
  THeadlessInput::MouseMove(e->Button(), TPoint{3, 3});
  EXPECT_EQ(e->Button()->State(), bsUp) << "the press ended with its release";
  // The next left press finds no popup: its click drops it down.
  ClickButton(e);
  EXPECT_TRUE(e->GetPopupVisible());
}

TEST_F(ComboEditPopupTest, WithoutDirectInputAPressInTheTextDropsItDown) {
  auto* e = Focused<TChoiceComboEdit>();
  e->SetDirectInput(false);
  THeadlessInput::Click(e, TPoint{5, 5});
  EXPECT_TRUE(e->GetPopupVisible());
  THeadlessInput::Click(e, TPoint{5, 5});
  EXPECT_FALSE(e->GetPopupVisible());
  EXPECT_TRUE(EditReadOnly(e)) << "closing restores the state DirectInput asks for";
  e->SetReadOnly(true);
  THeadlessInput::Click(e, TPoint{5, 5});
  e->PopupDropDown();
  EXPECT_FALSE(e->GetPopupVisible());
}

TEST_F(ComboEditPopupTest, ChangesWaitWhileShownAndTheAcceptedValueReportsOneChange) {
  auto* e = Open();
  e->SetText("set while open");
  EXPECT_EQ(Changes, 0);
  // Even a value equal to the text reports its one change.
  e->List->SetValue("red");
  e->SetText("red");
  e->PopupCloseUp(true);
  EXPECT_EQ(Changes, 1);
}

TEST_F(ComboEditPopupTest, AcceptPopupHasTheLastSay) {
  auto* e = Open();
  e->Accept = [](String& V) { return V != "blue"; };
  e->List->SetValue("blue");
  e->PopupCloseUp(true);
  EXPECT_EQ(e->Text(), "hello");
  EXPECT_EQ(Changes, 0);
  e->Accept = [](String& V) {
    V = "dark " + V;
    return true;
  };
  e->DoClick();
  e->List->SetValue("red");
  e->PopupCloseUp(true);
  EXPECT_EQ(e->Text(), "dark red");
}

TEST_F(ComboEditPopupTest, AFailingChangeHandlerStillLeavesThePopupClosed) {
  auto* e = Open();
  e->OnChange = TNotifyEvent([](TObject*) { throw EInvalidOperation("refused"); });
  e->List->SetValue("green");
  EXPECT_THROW(e->PopupCloseUp(true), EInvalidOperation);
  EXPECT_FALSE(e->GetPopupVisible());
  EXPECT_FALSE(PopupShown(e));
  e->DoClick();
  EXPECT_TRUE(e->GetPopupVisible()) << "and ready to drop down again";
}

TEST_F(ComboEditPopupTest, APopupFreedOnItsOwnIsForgotten) {
  auto* e = Open();
  delete e->List;
  EXPECT_EQ(e->Popup(), nullptr);
  EXPECT_FALSE(e->GetPopupVisible());
  e->DoClick();  // no popup: nothing to drop down, no grid to ask
  e->SetText("after");
  EXPECT_EQ(Changes, 1);
}

TEST_F(ComboEditPopupTest, PopupBelongsToAnEditor) {
  class TBarePopup : public TPopupWindow {
   public:
    using TPopupWindow::TPopupWindow;
    String GetValue() override { return {}; }
    void SetValue(const String&) override {}
  };
  EXPECT_THROW(TBarePopup{Form}, EInvalidOperation);
  auto* e = NewEditor();
  TBarePopup popup(e);
  EXPECT_EQ(popup.Editor(), e);
  EXPECT_EQ(popup.Parent(), e);
  EXPECT_FALSE(popup.Visible());
  popup.HandleNeeded();
  EXPECT_TRUE(popup.IsTopLevel());
  EXPECT_EQ(popup.WindowStyle(), WS_POPUP | WS_BORDER | WS_CLIPCHILDREN);
  EXPECT_EQ(popup.WindowExStyle(), WS_EX_TOOLWINDOW);
  EXPECT_FALSE(Headless().WindowVisible(popup.Surface()));
}

}  // namespace
}  // namespace bw::testing
