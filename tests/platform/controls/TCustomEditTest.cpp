#include "platform/controls/TCustomEdit.h"

#include <functional>

#include "ControlsFixture.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/graphics/TFontEngine.h"

namespace bw::test {

namespace {

class TTestEdit : public TCustomEdit {
  BW_CLASS(TTestEdit, TCustomEdit)

 public:
  using TCustomEdit::TCustomEdit;
  int32_t Changes = 0;
  bool RefuseClipboardEdits = false;
  int32_t OwnCaretWidth = 0;

 protected:
  void Change() override {
    ++Changes;
    inherited::Change();
  }
  // A descendant that refuses paste and cut drops the messages.
  void WMPaste(TMessage& Message) override {
    if (!RefuseClipboardEdits) inherited::WMPaste(Message);
  }
  void WMCut(TMessage& Message) override {
    if (!RefuseClipboardEdits) inherited::WMCut(Message);
  }
  // A descendant with a caret of its own makes it after the edit's focus handling.
  void WMSetFocus(TMessage& Message) override {
    inherited::WMSetFocus(Message);
    if (OwnCaretWidth == 0) return;
    CreateCaret(Handle(), nullptr, OwnCaretWidth, 10);
    ShowCaret(Handle());
  }
};

class EditTest : public ControlsTest {
 protected:
  TForm* Form = nullptr;
  TTestEdit* Edit = nullptr;

  void SetUp() override {
    ControlsTest::SetUp();
    Form = NewForm(320, 160);
    Edit = new TTestEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 150, 21);
    Application->ProcessMessages();
    Edit->SetFocus();
    Application->ProcessMessages();
  }

  void Key(uint16_t K, uint32_t Mods = 0) { THeadlessInput::Key(K, Mods); }
  void Type(const String& S) { THeadlessInput::Type(S); }
  /// The presented pixel at a client point of a control.
  uint32_t Pixel(TControl* C, TPoint P) {
    Application->ProcessMessages();
    TPoint s = C->ClientToScreen(P);
    return Headless().WindowPixel(Form->Surface(), s.X - Form->Left(), s.Y - Form->Top());
  }
  /// True when any pixel of the column x inside the text line differs from the colour.
  bool InkInColumn(TControl* C, int32_t X, uint32_t Background) {
    TRect r = Edit->FormatRect();
    for (int32_t y = r.Top; y < r.Top + 12; ++y)
      if (Pixel(C, TPoint{X, y}) != Background) return true;
    return false;
  }
};

}  // namespace

TEST_F(EditTest, TypingAndKeyboardSelection) {
  ASSERT_TRUE(Edit->Focused());
  Type("hello world");
  EXPECT_EQ(Edit->Text(), "hello world");
  EXPECT_EQ(Edit->SelStart(), 11);
  EXPECT_TRUE(Edit->Modified());
  EXPECT_EQ(Edit->Changes, 11);

  Key(VK_LEFT, kModShift | kModCtrl);  // selects "world"
  EXPECT_EQ(Edit->SelText(), "world");
  Key(VK_LEFT);  // collapses to the start of the selection
  EXPECT_EQ(Edit->SelStart(), 6);
  EXPECT_EQ(Edit->SelLength(), 0);
  Key(VK_HOME, kModShift);
  EXPECT_EQ(Edit->SelText(), "hello ");
  Key(VK_END);
  Key(VK_LEFT, kModShift);
  Key(VK_LEFT, kModShift);
  EXPECT_EQ(Edit->SelText(), "ld");
  Key(VK_BACK);
  EXPECT_EQ(Edit->Text(), "hello wor");
  Key(VK_HOME);
  Key(VK_DELETE);
  Key(VK_DELETE, kModCtrl);
  EXPECT_EQ(Edit->Text(), "wor");
  Key(VK_END);
  Key(VK_BACK, kModCtrl);
  EXPECT_EQ(Edit->Text(), "");

  // Keys that edit nothing report no change.
  int32_t changes = Edit->Changes;
  Key(VK_BACK);
  Key(VK_DELETE);
  EXPECT_EQ(Edit->Changes, changes);
}

TEST_F(EditTest, MultiByteCharactersAreEditedWhole) {
  Type("a\xC3\xA9\xF0\x9F\x98\x80z");
  EXPECT_EQ(Edit->EditModel().Length(), 4);
  Key(VK_LEFT);
  Key(VK_BACK);
  EXPECT_EQ(Edit->Text(), "a\xC3\xA9z");
  Key(VK_LEFT, kModShift);
  EXPECT_EQ(Edit->SelText(), "\xC3\xA9");
}

TEST_F(EditTest, SettingTextResetsCaretModifiedAndFiresChangeOnce) {
  Type("abc");
  Edit->SetText("new text");
  EXPECT_EQ(Edit->SelStart(), 0);
  EXPECT_FALSE(Edit->Modified());
  EXPECT_FALSE(Edit->CanUndo());
  int32_t changes = Edit->Changes;
  Edit->SetText("new text");
  EXPECT_EQ(Edit->Changes, changes);
  Edit->SetCharCase(ecUpperCase);
  EXPECT_EQ(Edit->Text(), "NEW TEXT");
  EXPECT_EQ(Edit->Changes, changes + 1);
  Key(VK_END);
  Type("x");
  EXPECT_EQ(Edit->Text(), "NEW TEXTX");
  EXPECT_TRUE(Edit->WindowStyle() & ES_UPPERCASE);
}

TEST_F(EditTest, AnEditMayBeFreedByItsOwnOnChange) {
  // Typed, deleted and pasted changes each end in OnChange.
  Headless().SetClipboardText("pasted");
  const std::vector<std::function<void()>> edits{[this] { Type("q"); }, [this] { Key(VK_BACK); },
                                                 [this] { Key('V', kModCtrl); }};
  for (const auto& edit : edits) {
    Edit->SetText("x");
    Edit->SetSelStart(1);
    Edit->OnChange = TNotifyEvent([this](TObject*) { delete Edit; });
    edit();
    EXPECT_EQ(Form->ControlCount(), 0);
    Edit = new TTestEdit(Form);
    Edit->SetParent(Form);
    Edit->SetFocus();
  }
}

TEST_F(EditTest, AnEditMayBeFreedByItsOwnMouseAndEnterHandlers) {
  auto fresh = [this] {
    Edit = new TTestEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 40, 150, 21);
    Edit->SetText("some text");
  };
  // Clicked while another control has the focus: OnEnter runs inside the press.
  fresh();
  Edit->OnEnter = TNotifyEvent([this](TObject*) { delete Edit; });
  THeadlessInput::Click(Edit, TPoint{20, 5});
  EXPECT_EQ(Form->ControlCount(), 1);
  fresh();
  Edit->OnMouseDown = TMouseEvent([this](TObject*, TMouseButton, TShiftState S, int32_t, int32_t) {
    if (S.Contains(ssDouble)) delete Edit;
  });
  THeadlessInput::DoubleClick(Edit, TPoint{20, 5});
  EXPECT_EQ(Form->ControlCount(), 1);
  fresh();
  Edit->OnMouseMove =
      TMouseMoveEvent([this](TObject*, TShiftState, int32_t, int32_t) { delete Edit; });
  THeadlessInput::MouseDown(Edit, TPoint{20, 5});
  THeadlessInput::MouseMove(Edit, TPoint{40, 5});
  EXPECT_EQ(Form->ControlCount(), 1);
  THeadlessInput::Type("x");
}

TEST_F(EditTest, MouseSelectsByClickDragShiftClickAndWord) {
  Edit->SetText("alpha beta gamma");
  THeadlessInput::Click(Edit, TPoint{Edit->PosToX(3), 5});
  EXPECT_EQ(Edit->SelStart(), 3);
  EXPECT_EQ(Edit->SelLength(), 0);

  THeadlessInput::MouseDown(Edit, TPoint{Edit->PosToX(1) + 1, 5});
  THeadlessInput::MouseMove(Edit, TPoint{Edit->PosToX(4), 5}, 0);
  THeadlessInput::MouseUp(Edit, TPoint{Edit->PosToX(4), 5});
  EXPECT_EQ(Edit->SelText(), "lph");
  THeadlessInput::MouseMove(Edit, TPoint{Edit->PosToX(9), 5});  // released: no effect
  EXPECT_EQ(Edit->SelText(), "lph");

  THeadlessInput::Click(Edit, TPoint{Edit->PosToX(6), 5});
  THeadlessInput::Click(Edit, TPoint{Edit->PosToX(10), 5}, mbLeft, kModShift);
  EXPECT_EQ(Edit->SelText(), "beta");

  THeadlessInput::DoubleClick(Edit, TPoint{(Edit->PosToX(11) + Edit->PosToX(12)) / 2, 5});
  EXPECT_EQ(Edit->SelText(), "gamma");
  // Right of the text a double-click takes the last word.
  THeadlessInput::DoubleClick(Edit, TPoint{Edit->ClientWidth() - 2, 5});
  EXPECT_EQ(Edit->SelText(), "gamma");
}

TEST_F(EditTest, ClickIntoAnUnfocusedEditFocusesItWithoutAutoSelect) {
  auto* other = new TTestEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 50, 150, 21);
  other->SetText("click me");
  Application->ProcessMessages();
  THeadlessInput::Click(other, TPoint{other->PosToX(2), 5});
  EXPECT_TRUE(other->Focused());
  EXPECT_EQ(other->SelLength(), 0);
  EXPECT_EQ(other->SelStart(), 2);
  // Entering by the keyboard selects everything.
  Edit->SetText("tabbed");
  Key(VK_TAB, kModShift);
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(Edit->SelText(), "tabbed");
}

TEST_F(EditTest, ScrollingKeepsTheCaretVisible) {
  Edit->SetWidth(60);
  Application->ProcessMessages();
  const TRect r = Edit->FormatRect();
  auto caretVisible = [&] {
    int32_t x = Edit->PosToX(Edit->EditModel().Caret());
    return x >= r.Left && x < r.Right;
  };
  Type("the quick brown fox jumps");
  EXPECT_GT(Edit->ScrollOffset(), 0);
  EXPECT_TRUE(caretVisible());
  EXPECT_EQ(GetCaretInfo().Pos.X, Edit->PosToX(Edit->SelStart()));
  Key(VK_HOME);
  EXPECT_EQ(Edit->ScrollOffset(), 0);
  EXPECT_TRUE(caretVisible());
  for (int i = 0; i < 12; ++i) {
    Key(VK_RIGHT);
    ASSERT_TRUE(caretVisible()) << i;
  }
  // Dragging past the right edge grows the selection a character a move.
  Key(VK_HOME);
  THeadlessInput::MouseDown(Edit, TPoint{r.Left + 1, 5});
  for (int i = 0; i < 5; ++i)
    THeadlessInput::MouseMove(Edit, TPoint{r.Right + 10 + i, 5}, 0);
  THeadlessInput::MouseUp(Edit, TPoint{r.Right + 10, 5});
  EXPECT_TRUE(caretVisible());
  EXPECT_EQ(Edit->SelStart(), 0);
  EXPECT_GT(Edit->SelLength(), 5);
  // Deleting text scrolls back so that no room is wasted at the right.
  Edit->SelectAll();
  Key(VK_DELETE);
  EXPECT_EQ(Edit->ScrollOffset(), 0);
}

TEST_F(EditTest, ClipboardShortcutsGoThroughMessages) {
  Edit->SetText("one two");
  Edit->SetSelStart(4);
  Edit->SetSelLength(3);
  Key('C', kModCtrl);
  EXPECT_EQ(Headless().ClipboardText(), "two");
  Key(VK_HOME);
  Key('V', kModCtrl);
  EXPECT_EQ(Edit->Text(), "twoone two");
  Key(VK_HOME, kModShift);
  Key('X', kModCtrl);
  EXPECT_EQ(Edit->Text(), "one two");
  EXPECT_EQ(Headless().ClipboardText(), "two");
  Key(VK_END);
  Key(VK_INSERT, kModShift);
  EXPECT_EQ(Edit->Text(), "one twotwo");
  Key(VK_LEFT, kModShift | kModCtrl);
  Key(VK_INSERT, kModCtrl);
  EXPECT_EQ(Headless().ClipboardText(), "twotwo");
  Key(VK_DELETE, kModShift);
  EXPECT_EQ(Edit->Text(), "one ");
  Key('Z', kModCtrl);
  EXPECT_EQ(Edit->Text(), "one twotwo");
}

TEST_F(EditTest, PasteKeepsTheFirstLineAndFitsMaxLength) {
  Edit->SetMaxLength(6);
  Headless().SetClipboardText("abc\r\nsecond");
  Key('V', kModCtrl);
  EXPECT_EQ(Edit->Text(), "abc");
  Headless().SetClipboardText("defghij");
  Key('V', kModCtrl);
  EXPECT_EQ(Edit->Text(), "abcdef");
  Type("x");
  EXPECT_EQ(Edit->Text(), "abcdef");
}

TEST_F(EditTest, RefusedAndReadOnlyClipboardEditsChangeNothing) {
  Edit->SetText("keep");
  Edit->SelectAll();
  Headless().SetClipboardText("new");
  Edit->RefuseClipboardEdits = true;
  Key('V', kModCtrl);
  Key(VK_INSERT, kModShift);
  Key('X', kModCtrl);
  Key(VK_DELETE, kModShift);
  EXPECT_EQ(Edit->Text(), "keep");
  EXPECT_EQ(Headless().ClipboardText(), "new");
  Key('C', kModCtrl);  // copying is still allowed
  EXPECT_EQ(Headless().ClipboardText(), "keep");

  Edit->RefuseClipboardEdits = false;
  Edit->SetReadOnly(true);
  Headless().SetClipboardText("new");
  Edit->PasteFromClipboard();
  Edit->CutToClipboard();
  Type("z");
  Key(VK_DELETE);
  EXPECT_EQ(Edit->Text(), "keep");
  EXPECT_EQ(Headless().ClipboardText(), "new");
  EXPECT_FALSE(Edit->Modified());
}

TEST_F(EditTest, FormattingRectangleLimitsLayoutAndPainting) {
  Edit->SetBorderStyle(bsNone);
  Edit->SetText("WWWWWWWWWWWWWWWWWWWWWWWW");
  Application->ProcessMessages();
  const uint32_t window = ColorToPixel(clWindow);
  EXPECT_TRUE(InkInColumn(Edit, 100, window));
  TRect rect{0, 0, 60, Edit->ClientHeight()};
  Edit->Perform(EM_SETRECTNP, 0, reinterpret_cast<intptr_t>(&rect));
  Edit->Invalidate();
  Edit->SetSelStart(Edit->EditModel().Length());
  EXPECT_LT(Edit->PosToX(Edit->SelStart()), 60);
  EXPECT_FALSE(InkInColumn(Edit, 70, window));
  EXPECT_FALSE(InkInColumn(Edit, 100, window));
  TRect got;
  Edit->Perform(EM_GETRECT, 0, reinterpret_cast<intptr_t>(&got));
  EXPECT_EQ(got, rect);
  // A new window starts with the default rectangle again.
  Edit->SetAlignment(taRightJustify);
  EXPECT_EQ(Edit->FormatRect(), Edit->ClientRect());
}

TEST_F(EditTest, AlignmentIsAWindowStyle) {
  Edit->SetText("ab");
  const TRect r = Edit->FormatRect();
  const int32_t width = Edit->PosToX(2) - Edit->PosToX(0);
  EXPECT_EQ(Edit->PosToX(0), r.Left);
  Edit->SetAlignment(taRightJustify);
  EXPECT_TRUE(Edit->WindowStyle() & ES_RIGHT);
  EXPECT_EQ(Edit->PosToX(2), r.Right - 1);
  Edit->SetAlignment(taCenter);
  EXPECT_TRUE(Edit->WindowStyle() & ES_CENTER);
  EXPECT_EQ(Edit->PosToX(0), r.Left + (r.Width() - 1 - width) / 2);
  // Text wider than the rectangle scrolls from the left whatever the alignment.
  Edit->SetText(String(60, 'm'));
  EXPECT_EQ(Edit->PosToX(0), r.Left);
  EXPECT_TRUE(Edit->Focused());  // re-creating the window kept the focus
}

TEST_F(EditTest, BordersAndAutoSize) {
  EXPECT_TRUE(Edit->WindowExStyle() & WS_EX_CLIENTEDGE);
  EXPECT_EQ(Edit->ClientWidth(), Edit->Width() - 4);
  const int32_t font = TFontEngine::Instance().Face(*Edit->Font())->Metrics().tmHeight;
  EXPECT_GT(font, 8);
  Edit->SetCtl3D(false);
  EXPECT_FALSE(Edit->WindowExStyle() & WS_EX_CLIENTEDGE);
  EXPECT_TRUE(Edit->WindowStyle() & WS_BORDER);
  EXPECT_EQ(Edit->ClientWidth(), Edit->Width() - 2);
  EXPECT_EQ(Edit->Height(), font + 6);
  Edit->SetBorderStyle(bsNone);
  EXPECT_EQ(Edit->ClientWidth(), Edit->Width());
  // The 3-D edge is painted: dark shadow at the top left.
  Edit->SetBorderStyle(bsSingle);
  Edit->SetCtl3D(true);
  EXPECT_EQ(Pixel(Edit, TPoint{-2, -2}), ColorToPixel(clBtnShadow));
}

TEST_F(EditTest, CaretFollowsFocus) {
  Type("ab");
  TCaretInfo caret = GetCaretInfo();
  EXPECT_EQ(caret.Owner, Edit->Handle());
  EXPECT_TRUE(caret.Visible);
  EXPECT_EQ(caret.Width, 1);
  EXPECT_EQ(caret.Height, TFontEngine::Instance().Face(*Edit->Font())->Metrics().tmHeight);
  EXPECT_EQ(caret.Pos.X, Edit->PosToX(2));
  auto* other = new TTestEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 50, 150, 21);
  Application->ProcessMessages();
  other->SetFocus();
  Application->ProcessMessages();
  EXPECT_EQ(GetCaretInfo().Owner, other->Handle());
}

TEST_F(EditTest, ACaretMadeByADescendantIsPlacedToo) {
  auto* other = new TTestEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 50, 150, 21);
  other->SetText("abc");
  other->OwnCaretWidth = 2;
  other->SetAutoSelect(false);
  other->SetSelStart(2);
  Application->ProcessMessages();
  other->SetFocus();
  Application->ProcessMessages();
  TCaretInfo caret = GetCaretInfo();
  EXPECT_EQ(caret.Width, 2);
  EXPECT_EQ(caret.Pos.X, other->PosToX(other->EditModel().Caret()));
  EXPECT_EQ(caret.Pos.Y, other->FormatRect().Top);
}

TEST_F(EditTest, SelectionShowsOnlyWhileFocusedUnlessAsked) {
  Edit->SetText("WWWW");
  Edit->SelectAll();
  const TPoint inside{Edit->PosToX(1) + 2, Edit->FormatRect().Top + 2};
  EXPECT_EQ(Pixel(Edit, inside), ColorToPixel(clHighlight));
  auto* other = new TTestEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 50, 150, 21);
  Application->ProcessMessages();
  other->SetFocus();
  EXPECT_NE(Pixel(Edit, inside), ColorToPixel(clHighlight));
  Edit->SetHideSelection(false);
  EXPECT_EQ(Pixel(Edit, inside), ColorToPixel(clHighlight));
}

}  // namespace bw::test
