#pragma once
// The surfaces of the SDL back end: for each, the SDL window behind it and what the
// platform knows of it, in the platform's coordinates (logical pixels). The window system
// works in device pixels: Scale of them to one logical pixel, read from the display.

#include <map>

#include "platform/backend/TBackend.h"

struct SDL_Window;

namespace bw {

struct TSdlWindow {
  TWindowId Id = 0;
  uint32_t SdlId = 0;            ///< SDL's window id, which its events carry.
  SDL_Window* Handle = nullptr;  ///< Null in tests that feed events without a display.
  TRect Bounds;                  ///< Logical screen bounds, as last set or reported.
  bool Popup = false;
  bool NoActivate = false;
  bool Visible = false;
};

class TSdlWindowTable {
 public:
  explicit TSdlWindowTable(int32_t Scale = 1) : FScale(Scale < 1 ? 1 : Scale) {}

  int32_t Scale() const { return FScale; }
  /// Logical to device pixels and back (device coordinates round down).
  int32_t ToDevice(int32_t Logical) const { return Logical * FScale; }
  int32_t ToLogical(int32_t Device) const;

  /// Records a surface under a new id.
  TSdlWindow& Add(uint32_t SdlId, SDL_Window* Handle, const TWindowParams& Params);
  void Remove(TWindowId Id);
  TSdlWindow* Find(TWindowId Id);
  /// The surface of an SDL window id, or null (a window that is not ours, or gone).
  TSdlWindow* FindSdl(uint32_t SdlId);
  const std::map<TWindowId, TSdlWindow>& All() const { return FWindows; }

 private:
  int32_t FScale;
  std::map<TWindowId, TSdlWindow> FWindows;
  TWindowId FNextId = 1;
};

}  // namespace bw
