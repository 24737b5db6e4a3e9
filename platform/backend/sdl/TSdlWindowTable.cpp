#include "platform/backend/sdl/TSdlWindowTable.h"

namespace bw {

int32_t TSdlWindowTable::ToLogical(int32_t Device) const {
  // Round towards minus infinity, so a point left of a window stays left of it.
  return Device >= 0 ? Device / FScale : -((-Device + FScale - 1) / FScale);
}

TSdlWindow& TSdlWindowTable::Add(uint32_t SdlId, SDL_Window* Handle, const TWindowParams& Params) {
  TWindowId id = FNextId++;
  TSdlWindow& w = FWindows[id];
  w.Id = id;
  w.SdlId = SdlId;
  w.Handle = Handle;
  w.Bounds = Params.Bounds;
  w.Popup = Params.Popup;
  w.NoActivate = Params.NoActivate;
  return w;
}

void TSdlWindowTable::Remove(TWindowId Id) {
  FWindows.erase(Id);
}

TSdlWindow* TSdlWindowTable::Find(TWindowId Id) {
  auto it = FWindows.find(Id);
  return it == FWindows.end() ? nullptr : &it->second;
}

TSdlWindow* TSdlWindowTable::FindSdl(uint32_t SdlId) {
  for (auto& [id, w] : FWindows)
    if (w.SdlId == SdlId) return &w;
  return nullptr;
}

}  // namespace bw
