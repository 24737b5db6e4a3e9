#pragma once
// The stage of the painting figures: a fresh application with one shown form of
// 1220 x 840 pixels, a grid of 1200 x 800 pixels at the form's top-left corner, and the
// time of a full paint (the whole control invalidated, painted and presented at once).

#include "bench/BenchReport.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"

namespace bw::bench {

class TBenchStage {
 public:
  /// A fresh application with one shown form.
  static TForm* NewForm() {
    Application->Reset();
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 1220, 840);
    form->Show();
    return form;
  }

  /// A control of type C, 1200 x 800 pixels, on a new shown form.
  template <class C>
  static C* NewGrid() {
    TForm* form = NewForm();
    auto* grid = new C(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 1200, 800);
    return grid;
  }

  /// Each run's thread-CPU milliseconds per full paint of Control, over Frames paints.
  static std::vector<double> FullPaintMillis(TControl* Control, int Frames) {
    std::vector<double> runs = MicrosPerCall(Frames, [Control](int) {
      Control->Invalidate();
      Control->Update();
    });
    for (double& run : runs)
      run /= 1000;
    return runs;
  }
};

}  // namespace bw::bench
