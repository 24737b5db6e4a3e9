// A small program on real windows, driven from outside by window-test.sh under Xvfb: a
// form with an outline grid, an edit and a button that counts its clicks. F4 in the edit
// drops down a pop-up below it which, like a combo box's list, never takes the keyboard.
//
// Usage: window_test_app OUT_DIR
// On start it writes OUT_DIR/layout (where to click, in window coordinates: "name x y");
// when it ends (the window is closed, or SIGTERM/SIGINT) it writes OUT_DIR/state (what the
// user's input did) and OUT_DIR/window.png (what the window showed).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "grid/TCorvath.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/backend/Backend.h"
#include "platform/backend/sdl/TSdlBackend.h"
#include "platform/controls/Messages.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TButton.h"
#include "platform/controls/TEdit.h"
#include "platform/controls/TForm.h"
#include "platform/controls/WinApi.h"
#include "platform/core/TStringStream.h"
#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TCanvas.h"
#include "platform/outline/TOutlineNode.h"

namespace {

using namespace bw;

constexpr TColor kPopupColor = 0x0000FFFF;  // yellow

// A drop-down that answers MA_NOACTIVATE: clicking it leaves the keyboard where it was.
class TTestPopup : public TCustomControl {
  BW_CLASS(TTestPopup, TCustomControl)

 public:
  using TCustomControl::TCustomControl;
  int32_t Clicks = 0;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_POPUP;
    Params.ExStyle |= WS_EX_TOOLWINDOW;
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_MOUSEACTIVATE) {
      Message.Result = MA_NOACTIVATE;
      return;
    }
    TCustomControl::WndProc(Message);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override {
    ++Clicks;
    TCustomControl::MouseDown(Button, Shift, X, Y);
    SetVisible(false);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(kPopupColor);
    Canvas()->FillRect(ClientRect());
  }
};

struct TTestForm {
  TForm* Form = nullptr;
  TCorvath* Grid = nullptr;
  TEdit* Edit = nullptr;
  TButton* Count = nullptr;
  TTestPopup* Popup = nullptr;
  int32_t CountClicks = 0;
};

void Build(TTestForm& T) {
  Application->CreateForm(T.Form);
  T.Form->SetCaption("Brantwell window test");
  T.Form->SetBounds(20, 20, 440, 260);
  T.Grid = new TCorvath(T.Form);
  T.Grid->SetParent(T.Form);
  T.Grid->SetBounds(8, 8, 260, 200);
  T.Grid->SetColCount(1);
  T.Grid->SetFixedCols(0);
  T.Grid->SetColWidths(0, 240);
  TStringStream items("Fruit\n\tApple\n\tPear\nVegetables\n\tLeek\n");
  T.Grid->Outline()->LoadFromStream(&items);

  T.Edit = new TEdit(T.Form);
  T.Edit->SetParent(T.Form);
  T.Edit->SetBounds(280, 8, 150, 24);
  T.Count = new TButton(T.Form);
  T.Count->SetParent(T.Form);
  T.Count->SetBounds(280, 44, 100, 28);
  T.Count->SetCaption("Count");
  T.Count->OnClick = TNotifyEvent([&T](TObject*) { ++T.CountClicks; });
  T.Popup = new TTestPopup(T.Form);
  T.Popup->SetVisible(false);
  T.Edit->OnKeyDown = TKeyEvent([&T](TObject*, uint16_t& Key, TShiftState) {
    if (Key != VK_F4) return;
    TPoint below = T.Edit->ClientToScreen(TPoint{0, T.Edit->Height()});
    T.Popup->SetBounds(below.X, below.Y, 150, 60);
    ShowWindow(T.Popup->Handle(), SW_SHOWNA);
  });
}

TPoint InWindow(TTestForm& T, TControl* C, TPoint P) {
  TPoint s = C->ClientToScreen(P);
  return TPoint{s.X - T.Form->Left(), s.Y - T.Form->Top()};
}

void WriteLayout(TTestForm& T, const std::filesystem::path& File) {
  std::ofstream out(File);
  TRect fruit = T.Grid->CellRect(T.Grid->OutlineCol(), T.Grid->FixedRows());
  auto line = [&](const char* Name, TPoint P) { out << Name << " " << P.X << " " << P.Y << "\n"; };
  line("fruit", InWindow(T, T.Grid, TPoint{fruit.Left + 40, (fruit.Top + fruit.Bottom) / 2}));
  line("edit", InWindow(T, T.Edit, TPoint{20, 12}));
  line("count", InWindow(T, T.Count, TPoint{50, 14}));
  line("popup", InWindow(T, T.Edit, TPoint{60, T.Edit->Height() + 30}));
}

String Rows(TTestForm& T) {
  String rows;
  for (int32_t r = T.Grid->FixedRows(); r < T.Grid->RowCount(); ++r)
    if (TOutlineNode* node = T.Grid->RowToOutline(r)) {
      if (!rows.empty()) rows += '|';
      rows += node->Text();
    }
  return rows;
}

// Compares what the window shows with what the program painted, caret hidden: after
// presenting only the changed parts many times over, the two must still agree.
int32_t PixelsPresentedWrong(TTestForm& T, TSdlBackend& Sdl, const std::filesystem::path& Png) {
  if (HWND owner = GetCaretInfo().Owner) HideCaret(owner);
  Application->ProcessMessages();
  std::unique_ptr<TBitmap> shown = Sdl.SnapshotWindow(T.Form->Surface());
  shown->SaveToPngFile(Png.string());
  TBitmap* painted = T.Form->BackBuffer();
  if (!painted || painted->Width() != shown->Width() || painted->Height() != shown->Height())
    return -1;
  int32_t wrong = 0;
  for (int32_t y = 0; y < shown->Height(); ++y)
    for (int32_t x = 0; x < shown->Width(); ++x)
      if ((shown->ScanLine(y)[x] & 0xFFFFFF) != (painted->ScanLine(y)[x] & 0xFFFFFF)) ++wrong;
  return wrong;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: window_test_app OUT_DIR\n";
    return 2;
  }
  try {
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    auto* sdl = dynamic_cast<TSdlBackend*>(&Backend());
    if (!sdl) {
      std::cerr << "window_test_app needs the SDL back end (a display, or BW_BACKEND=sdl)\n";
      return 2;
    }
    TTestForm t;
    Build(t);
    t.Form->Show();
    Application->ProcessMessages();
    WriteLayout(t, out / "layout");
    Application->Run();

    int32_t wrong = PixelsPresentedWrong(t, *sdl, out / "window.png");
    std::ofstream state(out / "state");
    state << "rows: " << Rows(t) << "\n";
    state << "edit: " << t.Edit->Text() << "\n";
    state << "count: " << t.CountClicks << "\n";
    state << "popup-clicks: " << t.Popup->Clicks << "\n";
    state << "popup-visible: " << (t.Popup->Visible() ? "yes" : "no") << "\n";
    state << "focus: " << (t.Edit->Focused() ? "edit" : "elsewhere") << "\n";
    state << "presented-wrong: " << wrong << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "window_test_app failed: " << e.what() << "\n";
    return 1;
  }
}
