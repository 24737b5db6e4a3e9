# Built only with -DBW_BUILD_DEMO=ON (./dev sets it).
if(NOT TARGET demo)
  return()
endif()

# The demo finds its sample plan in the source tree, and opens real windows through the
# SDL back end when that was built.
target_compile_definitions(demo PRIVATE BW_DEMO_DATA_DIR="${CMAKE_CURRENT_LIST_DIR}/data")
if(TARGET bw_sdl)
  target_link_libraries(demo PRIVATE bw_sdl)
endif()

# The demo's tests run the program and use its classes.
if(TARGET test_apps_demo)
  file(GLOB demo_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  list(FILTER demo_sources EXCLUDE REGEX "/main\\.cpp$")
  target_sources(test_apps_demo PRIVATE ${demo_sources})
  target_compile_definitions(test_apps_demo PRIVATE BW_DEMO_EXE="$<TARGET_FILE:demo>"
                                                   BW_DEMO_DATA_DIR="${CMAKE_CURRENT_LIST_DIR}/data")
  add_dependencies(test_apps_demo demo)
endif()

# The demo on real windows under Xvfb (skipped, with the reason, where Xvfb, xdotool or
# xwd are missing).
if(BW_BUILD_TESTS AND TARGET bw_sdl)
  add_executable(xwd_pixels ${CMAKE_SOURCE_DIR}/tests/realwindow/XwdPixels.cpp)
  set_target_properties(xwd_pixels PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME demo_window
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/realwindow/demo-window-test.sh
                   $<TARGET_FILE:demo> $<TARGET_FILE:xwd_pixels>)
  # The demo when its display goes away, and on SIGTERM.
  add_test(NAME demo_display_loss
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/realwindow/display-loss-test.sh $<TARGET_FILE:demo>)
  set_tests_properties(demo_window demo_display_loss PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120
                       ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0"
                       RESOURCE_LOCK xvfb)
endif()
