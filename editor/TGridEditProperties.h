#pragma once
// The grid's Editor options: the glyph and the button width each in-place editor gets
// when the grid creates it. Nobody is told of changes; the grid reads the values only
// while it creates an editor, so an existing editor keeps what it was given.

#include <memory>

#include "platform/graphics/TGraphicsObject.h"

namespace bw {

class TBitmap;

class TGridEditProperties : public TGraphicsObject {
  BW_CLASS(TGridEditProperties, TGraphicsObject)

 public:
  TGridEditProperties();
  ~TGridEditProperties() override;

  /// The glyph of the editors' button; empty by default. The object itself, not a copy.
  TBitmap* GetBitmap() const { return FBitmap.get(); }
  /// Copies Value's image and makes the button 4 pixels wider than it (an empty glyph
  /// gives 4). A failed copy leaves the width as it was.
  void SetBitmap(TBitmap* Value);

  /// Width of the editors' button in pixels; 15 by default. Stored after the glyph, so a
  /// stored width replaces the one the glyph implies.
  int32_t ButtonWidth() const { return FBtnWidth; }
  void SetButtonWidth(int32_t Value) { FBtnWidth = Value; }

 private:
  std::unique_ptr<TBitmap> FBitmap;
  int32_t FBtnWidth = 15;
};

}  // namespace bw
