#include "ControlsFixture.h"
#include "platform/controls/TScreen.h"
#include "platform/core/Exception.h"

namespace bw::test {

class FocusTest : public ControlsTest {
 protected:
  // A shown form with three tab stops a, b, c side by side.
  void SetUpForm() {
    form = NewForm();
    for (const char* tag : {"a", "b", "c"}) {
      auto* p = new TProbe(form, &log, tag);
      p->SetName(tag);
      p->SetParent(form);
      p->SetBounds(10 + 60 * int32_t(probes.size()), 10, 50, 20);
      p->SetTabStop(true);
      probes.push_back(p);
    }
    Application->ProcessMessages();
    log.clear();
  }
  std::vector<std::string> log;
  std::vector<TProbe*> probes;
  TForm* form = nullptr;
};

TEST_F(FocusTest, TabAndShiftTabWalkTheTabOrderAndWrap) {
  SetUpForm();
  probes[0]->SetFocus();
  THeadlessInput::Key(VK_TAB);
  EXPECT_TRUE(probes[1]->Focused());
  THeadlessInput::Key(VK_TAB);
  THeadlessInput::Key(VK_TAB);
  EXPECT_TRUE(probes[0]->Focused());
  THeadlessInput::Key(VK_TAB, kModShift);
  EXPECT_TRUE(probes[2]->Focused());
  EXPECT_EQ(form->ActiveControl(), probes[2]);
  EXPECT_EQ(Screen->ActiveControl(), probes[2]);
  EXPECT_EQ(Screen->ActiveForm(), form);
}

TEST_F(FocusTest, TabOrderSkipsWhatCannotTakeTheFocus) {
  SetUpForm();
  probes[2]->SetTabOrder(0);  // order now c, a, b
  EXPECT_EQ(probes[0]->TabOrder(), 1);
  probes[0]->SetEnabled(false);
  probes[1]->SetTabStop(false);
  probes[2]->SetFocus();
  THeadlessInput::Key(VK_TAB);
  EXPECT_TRUE(probes[2]->Focused()) << "nothing else may take the focus";
  probes[1]->SetTabStop(true);
  probes[1]->SetVisible(false);
  THeadlessInput::Key(VK_TAB);
  EXPECT_TRUE(probes[2]->Focused());
  probes[0]->SetEnabled(true);
  THeadlessInput::Key(VK_TAB);
  EXPECT_TRUE(probes[0]->Focused());
}

TEST_F(FocusTest, FocusChangeSendsExitKillEnterSetInOrder) {
  SetUpForm();
  probes[0]->SetFocus();
  log.clear();
  probes[1]->SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"a:killfocus", "a:exit", "b:enter", "b:setfocus"}));
}

TEST_F(FocusTest, ShowingAFormFocusesItsFirstTabStop) {
  TForm* f = new TForm(Application);
  auto* p = new TProbe(f, &log, "p");
  p->SetParent(f);
  p->SetTabStop(true);
  f->Show();
  EXPECT_EQ(f->ActiveControl(), p);
  EXPECT_TRUE(p->Focused());
  EXPECT_TRUE(f->Active());
}

TEST_F(FocusTest, NestedControlsEnterAndExitAlongTheirParents) {
  SetUpForm();
  auto* box = new TProbe(form, &log, "box");
  box->SetParent(form);
  box->SetBounds(10, 50, 200, 100);
  auto* inner = new TProbe(form, &log, "inner");
  inner->SetParent(box);
  inner->SetTabStop(true);
  Application->ProcessMessages();
  probes[0]->SetFocus();
  log.clear();
  inner->SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"a:killfocus", "a:exit", "box:enter", "inner:enter",
                                           "inner:setfocus"}));
  log.clear();
  probes[1]->SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"inner:killfocus", "inner:exit", "box:exit", "b:enter",
                                           "b:setfocus"}));
}

TEST_F(FocusTest, RefusesToFocusAHiddenOrDisabledControl) {
  SetUpForm();
  probes[1]->SetEnabled(false);
  EXPECT_FALSE(probes[1]->CanFocus());
  EXPECT_THROW(probes[1]->SetFocus(), EInvalidOperation);
  auto* loose = new TProbe(nullptr, &log, "loose");
  EXPECT_FALSE(loose->CanFocus()) << "a control on no form";
  delete loose;
}

TEST_F(FocusTest, FreeingTheFocusedControlLeavesTheFocusOnTheForm) {
  SetUpForm();
  probes[1]->SetFocus();
  delete probes[1];
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_EQ(Screen->ActiveControl(), form);
  EXPECT_TRUE(form->Focused());
  THeadlessInput::Key(VK_TAB);
  EXPECT_TRUE(probes[0]->Focused());

  // Leaving a control frees the one that was to take the focus.
  probes[0]->OnExit = TNotifyEvent([this](TObject*) { delete probes[2]; });
  THeadlessInput::Key(VK_TAB);
  EXPECT_EQ(form->ControlCount(), 1);
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_TRUE(form->Focused());
}

TEST_F(FocusTest, ClickingAnotherFormActivatesIt) {
  SetUpForm();
  probes[0]->SetFocus();
  TForm* other = new TForm(Application);
  other->SetBounds(600, 100, 200, 200);
  auto* q = new TProbe(other, &log, "q");
  q->SetParent(other);
  q->SetTabStop(true);
  other->Show();
  EXPECT_TRUE(other->Active());
  EXPECT_FALSE(form->Active());
  THeadlessInput::Click(form, TPoint{250, 150});
  EXPECT_TRUE(form->Active());
  EXPECT_TRUE(probes[0]->Focused()) << "the form's active control gets the focus back";
  EXPECT_EQ(Screen->ActiveForm(), form);
}

}  // namespace bw::test
