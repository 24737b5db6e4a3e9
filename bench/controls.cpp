// Figures for the control layer on a 1200 x 800 form holding 20 x 20 edits: the first
// paint of the whole form, one typed character (message routing, the edit's own work and
// the partial repaint that follows), and moving the focus with Tab. Each figure is
// measured 5 times; the minimum and the median are printed as "name: value unit". Times
// are the CPU time of this thread, so that other programs on a shared machine disturb
// them less.

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/controls/TApplication.h"
#include "platform/controls/TEdit.h"
#include "platform/controls/TForm.h"
#include "platform/controls/THeadlessInput.h"

using namespace bw;

namespace {

double NowMicros() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) * 1e6 + double(ts.tv_nsec) / 1e3;
}

void Report(const std::string& name, std::vector<double> values, const char* unit) {
  std::sort(values.begin(), values.end());
  std::printf("%s_min: %.1f %s\n", name.c_str(), values.front(), unit);
  std::printf("%s_median: %.1f %s\n", name.c_str(), values[values.size() / 2], unit);
}

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
  for (int run = 0; run < 5; ++run) {
    Application->Reset();
    std::vector<TEdit*> edits;
    TForm* form = BuildForm(edits);
    double t0 = NowMicros();
    form->Show();
    Application->ProcessMessages();
    firstPaint.push_back((NowMicros() - t0) / 1000.0);

    edits[210]->SetFocus();
    Application->ProcessMessages();
    double t1 = NowMicros();
    for (int i = 0; i < 100; ++i)
      THeadlessInput::Type("x");
    keystroke.push_back((NowMicros() - t1) / 100.0);

    double t2 = NowMicros();
    for (int i = 0; i < 100; ++i)
      THeadlessInput::Key(VK_TAB);
    tab.push_back((NowMicros() - t2) / 100.0);
  }
  Report("controls_first_paint_400_edits", firstPaint, "ms");
  Report("controls_typed_character", keystroke, "us");
  Report("controls_tab_to_next_edit", tab, "us");
  Application->Reset();
  return 0;
}
