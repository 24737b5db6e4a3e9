// Figures for the control layer on a 1200 x 800 form holding 20 x 20 edits: the first
// paint of the whole form, one typed character (message routing, the edit's own work and
// the partial repaint that follows), and moving the focus with Tab. Each figure is
// measured 5 times and reported as BenchReport.h says (thread CPU time).

#include <string>
#include <vector>

#include "bench/BenchReport.h"

#include "platform/controls/TApplication.h"
#include "platform/controls/TEdit.h"
#include "platform/controls/TForm.h"
#include "platform/controls/THeadlessInput.h"

using namespace bw;
using namespace bw::bench;

namespace {

TForm* BuildForm(std::vector<TEdit*>& Edits) {
  TForm* form = new TForm(Application);
  form->SetBounds(0, 0, 1200, 800);
  for (int row = 0; row < 20; ++row)
    for (int col = 0; col < 20; ++col) {
      auto* edit = new TEdit(form);
      edit->SetParent(form);
      edit->SetBounds(5 + col * 59, 5 + row * 39, 55, 24);
      edit->SetText("Cell " + std::to_string(row * 20 + col));
      Edits.push_back(edit);
    }
  return form;
}

}  // namespace

int main() {
  std::vector<double> firstPaint, keystroke, tab;
  for (int run = 0; run < kRuns; ++run) {
    Application->Reset();
    std::vector<TEdit*> edits;
    TForm* form = BuildForm(edits);
    const auto t0 = Clock::now();
    form->Show();
    Application->ProcessMessages();
    firstPaint.push_back(Millis(t0, Clock::now()));

    edits[210]->SetFocus();
    Application->ProcessMessages();
    const auto t1 = Clock::now();
    for (int i = 0; i < 100; ++i)
      THeadlessInput::Type("x");
    keystroke.push_back(Micros(t1, Clock::now()) / 100.0);

    const auto t2 = Clock::now();
    for (int i = 0; i < 100; ++i)
      THeadlessInput::Key(VK_TAB);
    tab.push_back(Micros(t2, Clock::now()) / 100.0);
  }
  Report("controls_first_paint_400_edits", firstPaint, "ms");
  Report("controls_typed_character", keystroke, "us");
  Report("controls_tab_to_next_edit", tab, "us");
  Application->Reset();
  return 0;
}
