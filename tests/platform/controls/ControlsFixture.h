#pragma once
// Shared set-up of the control tests: a fresh application on a fresh headless back end
// for every case, and a probe control that records what reaches it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TCustomControl.h"
#include "platform/controls/TForm.h"
#include "platform/controls/THeadlessInput.h"
#include "platform/controls/WinApi.h"
#include "platform/graphics/TCanvas.h"

namespace bw::test {

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { Application->Reset(); }
  void TearDown() override { Application->Reset(); }

  THeadlessBackend& Headless() { return THeadlessInput::Backend(); }

  /// A shown form of the given size at (100, 100), with everything painted.
  TForm* NewForm(int32_t Width = 300, int32_t Height = 200) {
    TForm* form = new TForm(Application);
    form->SetBounds(100, 100, Width, Height);
    form->Show();
    Application->ProcessMessages();
    return form;
  }
};

/// A windowed control that logs its events and messages as short strings.
class TProbe : public TCustomControl {
  BW_CLASS(TProbe, TCustomControl)

 public:
  TProbe(TComponent* AOwner, std::vector<std::string>* Log, std::string Tag)
      : TCustomControl(AOwner), FLog(Log), FTag(std::move(Tag)) {
    SetBoundsQuiet(0, 0, 50, 20);
  }
  intptr_t DlgCode = 0;
  TColor PaintColor = clWhite;
  int32_t Paints = 0;

 protected:
  void Add(const std::string& What) {
    if (FLog) FLog->push_back(FTag + ":" + What);
  }
  void Paint() override {
    ++Paints;
    Add("paint");
    Canvas()->Brush()->SetColor(PaintColor);
    Canvas()->FillRect(ClientRect());
  }
  void MouseDown(TMouseButton B, TShiftState S, int32_t X, int32_t Y) override {
    Add(std::string(S.Contains(ssDouble) ? "down2" : "down") + "(" + std::to_string(X) + "," +
        std::to_string(Y) + ")" + (B == mbRight ? "R" : ""));
    inherited::MouseDown(B, S, X, Y);
  }
  void MouseUp(TMouseButton B, TShiftState S, int32_t X, int32_t Y) override {
    Add("up(" + std::to_string(X) + "," + std::to_string(Y) + ")");
    inherited::MouseUp(B, S, X, Y);
  }
  void MouseMove(TShiftState S, int32_t X, int32_t Y) override {
    Add("move(" + std::to_string(X) + "," + std::to_string(Y) + ")");
    inherited::MouseMove(S, X, Y);
  }
  void Click() override {
    Add("click");
    inherited::Click();
  }
  void DblClick() override {
    Add("dblclick");
    inherited::DblClick();
  }
  void KeyDown(uint16_t& Key, TShiftState S) override {
    Add("keydown(" + std::to_string(Key) + ")");
    inherited::KeyDown(Key, S);
  }
  void KeyPress(Char& Key) override {
    Add("char(" + std::to_string(uint32_t(Key)) + ")");
    inherited::KeyPress(Key);
  }
  void DoEnter() override {
    Add("enter");
    inherited::DoEnter();
  }
  void DoExit() override {
    Add("exit");
    inherited::DoExit();
  }
  void WMSetFocus(TMessage& M) override {
    Add("setfocus");
    inherited::WMSetFocus(M);
  }
  void WMKillFocus(TMessage& M) override {
    Add("killfocus");
    inherited::WMKillFocus(M);
  }
  void WMGetDlgCode(TMessage& M) override { M.Result = DlgCode; }
  void CMCancelMode(TMessage& M) override {
    TControl* sender = CancelModeSender(M);
    Add("cancelmode(" + (sender ? sender->Name() : std::string("-")) + ")");
  }
  void CreateWnd() override {
    Add("createwnd");
    inherited::CreateWnd();
  }

 private:
  std::vector<std::string>* FLog;
  std::string FTag;
};

}  // namespace bw::test
