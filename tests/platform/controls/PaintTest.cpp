#include "ControlsFixture.h"
#include "platform/controls/TGraphicControl.h"

namespace bw::test {

namespace {

class TSwatch : public TGraphicControl {
  BW_CLASS(TSwatch, TGraphicControl)

 public:
  TSwatch(TComponent* AOwner, std::vector<std::string>* Log) : TGraphicControl(AOwner), FLog(Log) {}
  TColor Fill = clRed;

 protected:
  void Paint() override {
    FLog->push_back("g:paint");
    Canvas()->Brush()->SetColor(Fill);
    // Wider than the control: the clip keeps it inside.
    Canvas()->FillRect(Rect(-50, -50, 500, 500));
  }

 private:
  std::vector<std::string>* FLog;
};

}  // namespace

class PaintTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = NewForm(300, 200);
    form->OnPaint = TNotifyEvent([this](TObject*) { log.push_back("form:paint"); });
    lower = new TProbe(form, &log, "lower");
    lower->SetParent(form);
    lower->SetBounds(10, 10, 100, 100);
    upper = new TProbe(form, &log, "upper");
    upper->SetParent(form);
    upper->SetBounds(60, 60, 100, 100);
    upper->PaintColor = clBlue;
    far = new TProbe(form, &log, "far");
    far->SetParent(form);
    far->SetBounds(200, 10, 50, 50);
    swatch = new TSwatch(form, &log);
    swatch->SetParent(form);
    swatch->SetBounds(20, 150, 30, 20);
    Application->ProcessMessages();
  }
  uint32_t Pixel(int32_t X, int32_t Y) { return Headless().WindowPixel(form->Surface(), X, Y); }
  std::vector<std::string> log;
  TForm* form = nullptr;
  TProbe* lower = nullptr;
  TProbe* upper = nullptr;
  TProbe* far = nullptr;
  TSwatch* swatch = nullptr;
};

TEST_F(PaintTest, FirstPaintGoesParentGraphicChildrenThenWindowsInZOrder) {
  std::erase_if(log, [](const std::string& s) { return s.ends_with("createwnd"); });
  EXPECT_EQ(log, (std::vector<std::string>{"form:paint", "g:paint", "lower:paint", "upper:paint",
                                           "far:paint"}));
  EXPECT_EQ(Pixel(15, 15), ColorToPixel(clWhite));
  EXPECT_EQ(Pixel(100, 100), ColorToPixel(clBlue)) << "the upper window covers the lower";
  EXPECT_EQ(Pixel(5, 5), ColorToPixel(clBtnFace));
}

TEST_F(PaintTest, OriginAndClipAreTheControls) {
  EXPECT_EQ(Pixel(20, 150), ColorToPixel(clRed));
  EXPECT_EQ(Pixel(49, 169), ColorToPixel(clRed));
  EXPECT_EQ(Pixel(50, 150), ColorToPixel(clBtnFace)) << "clipped at the right edge";
  EXPECT_EQ(Pixel(19, 150), ColorToPixel(clBtnFace));
  EXPECT_EQ(Pixel(20, 170), ColorToPixel(clBtnFace));
}

TEST_F(PaintTest, InvalidatingAWindowRepaintsItAndWhatLiesAboveIt) {
  log.clear();
  lower->Invalidate();
  Application->ProcessMessages();
  EXPECT_EQ(log, (std::vector<std::string>{"lower:paint", "upper:paint"}));
  log.clear();
  upper->Invalidate();
  Application->ProcessMessages();
  EXPECT_EQ(log, std::vector<std::string>{"upper:paint"});
}

TEST_F(PaintTest, InvalidatingAGraphicControlRepaintsItsParentThere) {
  log.clear();
  swatch->Fill = clLime;
  swatch->Invalidate();
  Application->ProcessMessages();
  EXPECT_EQ(log, (std::vector<std::string>{"form:paint", "g:paint"}));
  EXPECT_EQ(Pixel(25, 155), ColorToPixel(clLime));
}

TEST_F(PaintTest, NothingMarkedMeansNoPaintAndNoPresent) {
  int32_t presents = Headless().PresentCount(form->Surface());
  log.clear();
  Application->ProcessMessages();
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(Headless().PresentCount(form->Surface()), presents);
}

TEST_F(PaintTest, UpdatePaintsAtOnceAndRepaintMarksFirst) {
  log.clear();
  far->Update();
  EXPECT_TRUE(log.empty());
  far->Repaint();
  EXPECT_EQ(log, std::vector<std::string>{"far:paint"});
}

TEST_F(PaintTest, HidingAndMovingUncoverTheParent) {
  upper->Hide();
  Application->ProcessMessages();
  EXPECT_EQ(Pixel(150, 150), ColorToPixel(clBtnFace));
  EXPECT_EQ(Pixel(100, 100), ColorToPixel(clWhite)) << "the lower window shows again";
  far->SetBounds(200, 100, 50, 50);
  Application->ProcessMessages();
  EXPECT_EQ(Pixel(210, 20), ColorToPixel(clBtnFace));
  EXPECT_EQ(Pixel(210, 120), ColorToPixel(clWhite));
}

TEST_F(PaintTest, BringToFrontChangesWhichWindowCovers) {
  lower->BringToFront();
  Application->ProcessMessages();
  EXPECT_EQ(Pixel(100, 100), ColorToPixel(clWhite));
  lower->SendToBack();
  Application->ProcessMessages();
  EXPECT_EQ(Pixel(100, 100), ColorToPixel(clBlue));
}

TEST_F(PaintTest, BordersShrinkTheClientArea) {
  struct TBordered : TProbe {
    using TProbe::TProbe;
    void CreateParams(TCreateParams& P) override {
      TProbe::CreateParams(P);
      P.Style |= WS_BORDER;
    }
  };
  auto* boxed = new TBordered(form, &log, "boxed");
  boxed->SetParent(form);
  boxed->SetBounds(200, 120, 40, 30);
  Application->ProcessMessages();
  EXPECT_EQ(boxed->ClientRect(), Rect(0, 0, 38, 28));
  EXPECT_EQ(boxed->ClientToScreen(TPoint{0, 0}), (TPoint{100 + 201, 100 + 121}));
  EXPECT_EQ(Pixel(200, 120), ColorToPixel(clWindowFrame));
  EXPECT_EQ(Pixel(201, 121), ColorToPixel(clWhite));
}

TEST_F(PaintTest, AlignedChildrenFollowTheirParent) {
  auto* top = new TProbe(form, &log, "top");
  top->SetHeight(30);
  top->SetAlign(alTop);
  top->SetParent(form);
  auto* rest = new TProbe(form, &log, "rest");
  rest->SetAlign(alClient);
  rest->SetParent(form);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 30));
  EXPECT_EQ(rest->BoundsRect(), Rect(0, 30, 300, 200));
  form->SetBounds(100, 100, 400, 300);
  EXPECT_EQ(rest->BoundsRect(), Rect(0, 30, 400, 300));
}

}  // namespace bw::test
