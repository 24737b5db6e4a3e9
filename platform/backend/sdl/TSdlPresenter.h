#pragma once
// Putting pixels on SDL windows: each window's own surface in system memory, onto which
// the changed part of the platform's back buffer is copied (each logical pixel as a
// Scale x Scale block) and from which only that part is sent to the screen. The window
// system keeps the surface, so an exposed window is redrawn from it without the program.
//
// The drawing half of the SDL back end: it knows nothing of events.

#include <map>
#include <memory>

#include "platform/backend/TBackend.h"
#include "platform/graphics/TBitmap.h"

struct SDL_Surface;
struct SDL_Window;

namespace bw {

class TSdlPresenter {
 public:
  /// The part of the pixels to copy: all of them when Full (a new or resized surface),
  /// else Changed clipped to the pixels.
  static TRect AreaToCopy(const TPixelView& Pixels, const TRect& Changed, bool Full);
  /// Copies Area of the pixels onto Target at Scale, converting to Target's pixel format;
  /// returns the device rectangle written (clipped to Target).
  static TRect CopyToSurface(const TPixelView& Pixels, const TRect& Area, int32_t Scale,
                             SDL_Surface* Target);
  /// A Width x Height picture of a surface drawn at Scale (one device pixel per logical one).
  static std::unique_ptr<TBitmap> ReadSurface(SDL_Surface* Source, int32_t Width, int32_t Height,
                                              int32_t Scale);

  /// Shows the changed part of the pixels on a window.
  void Present(SDL_Window* Window, const TPixelView& Pixels, const TRect& Changed, int32_t Scale);
  /// Shows the window's surface again (the window system lost what it showed).
  void Expose(SDL_Window* Window);
  /// The window is going.
  void Forget(SDL_Window* Window) { FShown.erase(Window); }
  /// What the window shows, Width x Height logical pixels.
  std::unique_ptr<TBitmap> Snapshot(SDL_Window* Window, int32_t Width, int32_t Height,
                                    int32_t Scale) const;

 private:
  // What was last copied onto a window's surface; another surface or size means the
  // next present copies everything.
  struct TShown {
    SDL_Surface* Surface = nullptr;
    int32_t SurfaceWidth = 0;
    int32_t SurfaceHeight = 0;
    int32_t PixelWidth = 0;
    int32_t PixelHeight = 0;
  };
  std::map<SDL_Window*, TShown> FShown;
};

}  // namespace bw
