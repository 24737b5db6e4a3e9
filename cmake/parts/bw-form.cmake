# bw-form's view shows a real window when the SDL back end is built. Deferred: the tool
# and bw_sdl are both defined after the parts are read.
function(bw_form_link_sdl)
  if(TARGET bw_sdl AND TARGET bw-form)
    target_link_libraries(bw-form PRIVATE bw_sdl)
  endif()
endfunction()
cmake_language(DEFER CALL bw_form_link_sdl)
