#include "platform/backend/sdl/TSdlPresenter.h"

#include <SDL_surface.h>
#include <SDL_video.h>

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/graphics/TBitmap.h"

namespace bw {

namespace {

// A surface over memory the caller owns, in the platform's 0x00RRGGBB format.
struct TBorrowedSurface {
  SDL_Surface* Surface;
  TBorrowedSurface(const uint32_t* Pixels, int32_t Width, int32_t Height, int32_t Stride)
      : Surface(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(Pixels), Width, Height, 32,
                                                   Stride * 4, SDL_PIXELFORMAT_RGB888)) {
    if (!Surface) throw EInvalidOperation(Format("Cannot wrap pixels: %s", {SDL_GetError()}));
    SDL_SetSurfaceBlendMode(Surface, SDL_BLENDMODE_NONE);
  }
  ~TBorrowedSurface() { SDL_FreeSurface(Surface); }
  TBorrowedSurface(const TBorrowedSurface&) = delete;
  TBorrowedSurface& operator=(const TBorrowedSurface&) = delete;
};

SDL_Rect ToSdl(const TRect& R) {
  return SDL_Rect{R.Left, R.Top, R.Width(), R.Height()};
}

}  // namespace

TRect TSdlPresenter::AreaToCopy(const TPixelView& Pixels, const TRect& Changed, bool Full) {
  TRect all = Bounds(0, 0, Pixels.Width, Pixels.Height);
  if (Full) return all;
  TRect area = all.Intersect(Changed);
  return area.IsEmpty() ? TRect() : area;
}

TRect TSdlPresenter::CopyToSurface(const TPixelView& Pixels, const TRect& Area, int32_t Scale,
                                   SDL_Surface* Target) {
  if (!Target || !Pixels.Pixels || Area.IsEmpty()) return TRect();
  TBorrowedSurface source(Pixels.Pixels, Pixels.Width, Pixels.Height, Pixels.Stride);
  SDL_Rect from = ToSdl(Area);
  TRect device{Area.Left * Scale, Area.Top * Scale, Area.Right * Scale, Area.Bottom * Scale};
  device = device.Intersect(Bounds(0, 0, Target->w, Target->h));
  if (device.IsEmpty()) return TRect();
  // Blits clip the destination and adjust the source to match; at Scale 1 a clipped
  // destination would otherwise shift nothing, so clip the source the same way.
  from.w = (device.Right - Area.Left * Scale + Scale - 1) / Scale;
  from.h = (device.Bottom - Area.Top * Scale + Scale - 1) / Scale;
  SDL_Rect to = SDL_Rect{Area.Left * Scale, Area.Top * Scale, from.w * Scale, from.h * Scale};
  int result = Scale == 1 ? SDL_BlitSurface(source.Surface, &from, Target, &to)
                          : SDL_BlitScaled(source.Surface, &from, Target, &to);
  if (result != 0) throw EInvalidOperation(Format("Cannot copy pixels: %s", {SDL_GetError()}));
  return device;
}

std::unique_ptr<TBitmap> TSdlPresenter::ReadSurface(SDL_Surface* Source, int32_t Width,
                                                    int32_t Height, int32_t Scale) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(Width, Height);
  if (!Source || Width <= 0 || Height <= 0) return bitmap;
  TBorrowedSurface target(bitmap->ScanLine(0), Width, Height, Width);
  SDL_Rect from{0, 0, Width * Scale, Height * Scale};
  SDL_Rect to{0, 0, Width, Height};
  SDL_SetSurfaceBlendMode(Source, SDL_BLENDMODE_NONE);
  int result = Scale == 1 ? SDL_BlitSurface(Source, &from, target.Surface, &to)
                          : SDL_BlitScaled(Source, &from, target.Surface, &to);
  if (result != 0) throw EInvalidOperation(Format("Cannot read pixels: %s", {SDL_GetError()}));
  return bitmap;
}

void TSdlPresenter::Present(SDL_Window* Window, const TPixelView& Pixels, const TRect& Changed,
                            int32_t Scale) {
  if (!Window || !Pixels.Pixels || Pixels.Width <= 0 || Pixels.Height <= 0) return;
  SDL_Surface* surface = SDL_GetWindowSurface(Window);
  if (!surface) throw EInvalidOperation(Format("No surface for a window: %s", {SDL_GetError()}));
  TShown& shown = FShown[Window];
  bool full = shown.Surface != surface || shown.SurfaceWidth != surface->w ||
              shown.SurfaceHeight != surface->h || shown.PixelWidth != Pixels.Width ||
              shown.PixelHeight != Pixels.Height;
  shown = TShown{surface, surface->w, surface->h, Pixels.Width, Pixels.Height};
  TRect device = CopyToSurface(Pixels, AreaToCopy(Pixels, Changed, full), Scale, surface);
  if (device.IsEmpty()) return;
  SDL_Rect rect = ToSdl(device);
  SDL_UpdateWindowSurfaceRects(Window, &rect, 1);
}

void TSdlPresenter::Expose(SDL_Window* Window) {
  if (FShown.count(Window) && SDL_GetWindowSurface(Window)) SDL_UpdateWindowSurface(Window);
}

std::unique_ptr<TBitmap> TSdlPresenter::Snapshot(SDL_Window* Window, int32_t Width, int32_t Height,
                                                 int32_t Scale) const {
  return ReadSurface(Window ? SDL_GetWindowSurface(Window) : nullptr, Width, Height, Scale);
}

}  // namespace bw
