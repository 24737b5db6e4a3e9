# The real-window back end: bw_sdl (Brantwell::sdl), a library over SDL2 that a program
# links to get windows. The platform library never depends on SDL: bw_sdl registers its
# back end from a static initialiser, and its link options keep that initialiser linked.
# Without SDL2 the rest builds as before and the window tests are left out.

# tests/realwindow holds a program driven from outside under Xvfb, not unit tests.
set_property(GLOBAL PROPERTY BW_TEST_SKIP_test_realwindow TRUE)

find_package(SDL2 CONFIG QUIET)
if(NOT TARGET SDL2::SDL2)
  message(STATUS "SDL2 not found: building without the real-window back end")
  set_property(GLOBAL PROPERTY BW_TEST_SKIP_test_platform_backend_sdl TRUE)
  return()
endif()

file(GLOB BW_SDL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/backend/sdl/*.cpp)
add_library(bw_sdl STATIC ${BW_SDL_SOURCES})
add_library(Brantwell::sdl ALIAS bw_sdl)
bw_link_whole(bw_sdl PUBLIC bw_platform)
target_link_libraries(bw_sdl PUBLIC SDL2::SDL2)
target_link_options(bw_sdl INTERFACE "LINKER:--undefined=bw_sdl_backend_anchor")
set_property(GLOBAL PROPERTY BW_TEST_LIBS_test_platform_backend_sdl bw_sdl)

if(BW_BUILD_TESTS)
  # A small program on real windows, and the test that drives it under Xvfb.
  add_executable(window_test_app ${CMAKE_SOURCE_DIR}/tests/realwindow/WindowTestApp.cpp)
  target_link_libraries(window_test_app PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,bw_brantwell>" bw_sdl)
  set_target_properties(window_test_app PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  cmake_language(DEFER CALL bw_add_window_test)
endif()

function(bw_add_window_test)
  add_test(NAME real_window
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/realwindow/window-test.sh
                   $<TARGET_FILE:window_test_app>)
  # Exit 77: no Xvfb or xdotool here; the script says so. One window test at a time, so
  # that two X servers never race for the same display number.
  set_tests_properties(real_window PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120
                       ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0"
                       RESOURCE_LOCK xvfb)
endfunction()
