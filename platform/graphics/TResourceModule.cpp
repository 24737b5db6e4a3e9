#include "platform/graphics/TResourceModule.h"

#include <strings.h>

#include "platform/graphics/ImageFormats.h"

namespace bw {

const TResourceEntry* TResourceModule::FindBitmap(const String& name) const {
  for (const TResourceEntry& e : FBitmaps)
    if (strcasecmp(e.Name, name.c_str()) == 0) return &e;
  return nullptr;
}

HBITMAP LoadBitmap(HINSTANCE Instance, const String& Name) {
  const TResourceModule& module = Instance ? *Instance : SystemResources();
  const TResourceEntry* e = module.FindBitmap(Name);
  if (!e) return nullptr;
  return ReadBmp(e->Data, e->Size).release();
}

HBITMAP LoadBitmap(HINSTANCE Instance, int32_t Id) {
  if (Instance) return nullptr;
  switch (Id) {
    case OBM_COMBO:
      return LoadBitmap(nullptr, "OBM_COMBO");
    default:
      return nullptr;
  }
}

}  // namespace bw
