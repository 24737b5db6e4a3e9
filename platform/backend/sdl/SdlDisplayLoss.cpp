#include "platform/backend/sdl/SdlDisplayLoss.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace bw {

namespace {

#if defined(SDL_VIDEO_DRIVER_X11)

// Xlib as SDL loaded it: reached through SDL rather than linked, so programs and the
// installed package need no library of their own for it, and the handler lands in the
// very Xlib that SDL's connection lives in.
#if defined(SDL_VIDEO_DRIVER_X11_DYNAMIC)
constexpr const char* kXlib = SDL_VIDEO_DRIVER_X11_DYNAMIC;
#else
constexpr const char* kXlib = "libX11.so.6";
#endif

const char* ProgramName() {
#if defined(__GLIBC__)
  return program_invocation_short_name;
#else
  return "program";
#endif
}

int OnDisplayLost(Display* Connection) {
  const char* name = Connection ? DisplayString(Connection) : nullptr;
  std::fprintf(stderr, "%s: lost the connection to the display %s; ending the program\n",
               ProgramName(), name && *name ? name : "(unnamed)");
  std::fflush(stderr);
  _exit(1);
}

#endif

}  // namespace

void EndProgramOnDisplayLoss() {
#if defined(SDL_VIDEO_DRIVER_X11)
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0) return;
  void* xlib = SDL_LoadObject(kXlib);
  if (!xlib) return;
  using TSetHandler = decltype(&XSetIOErrorHandler);
  if (auto set = reinterpret_cast<TSetHandler>(SDL_LoadFunction(xlib, "XSetIOErrorHandler")))
    set(OnDisplayLost);
  // SDL holds Xlib loaded for as long as its video runs; this only drops our count.
  SDL_UnloadObject(xlib);
#endif
}

}  // namespace bw
