# bw-form's view opens a real window through the SDL back end when that was built; its
# tests run the program as a user would.
if(TARGET bw_sdl)
  target_link_libraries(bw-form PRIVATE bw_sdl)
endif()
if(TARGET test_apps_bw-form)
  target_compile_definitions(test_apps_bw-form PRIVATE BW_FORM_EXE="$<TARGET_FILE:bw-form>")
  add_dependencies(test_apps_bw-form bw-form)
endif()
