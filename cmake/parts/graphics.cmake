# The raster graphics of the platform: FreeType and fontconfig for text, libpng for PNG
# export, and bitmap resources: .bmp files turned into C++ byte arrays at build time.
#
# This file is also the generator of those arrays: run as a script (cmake -P) with OUT,
# MODULE, FUNC, FILES and HEADER set, it writes one .cpp holding a TResourceModule.

if(CMAKE_SCRIPT_MODE_FILE)
  set(entries "")
  set(arrays "")
  set(i 0)
  foreach(f IN LISTS FILES)
    get_filename_component(name ${f} NAME_WE)
    file(READ ${f} hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
    string(APPEND arrays "const uint8_t kData${i}[] = {\n    ${bytes}};\n")
    string(APPEND entries "          {\"${name}\", kData${i}, sizeof kData${i}},\n")
    math(EXPR i "${i} + 1")
  endforeach()
  if(FUNC STREQUAL "HInstance")
    set(signature "HINSTANCE HInstance()")
    set(result "&module")
  else()
    set(signature "const TResourceModule& ${FUNC}()")
    set(result "module")
  endif()
  file(WRITE ${OUT}.tmp
"// Generated from the .bmp files of the module \"${MODULE}\"; do not edit.
#include \"${HEADER}\"

namespace {
${arrays}}  // namespace

namespace bw {

${signature} {
  static const TResourceModule module(\"${MODULE}\", {
${entries}      });
  return ${result};
}

}  // namespace bw
")
  file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
  file(REMOVE ${OUT}.tmp)
  return()
endif()

# Found through CMake's own modules, whose target names an installed package can name
# too (its configuration finds them again with find_dependency).
find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)
find_package(PNG REQUIRED)
target_link_libraries(bw_platform PUBLIC Freetype::Freetype Fontconfig::Fontconfig PNG::PNG)

# bw_embed_bitmaps(target module func header dir): every dir/*.bmp becomes a resource of
# the module, named after the file.
function(bw_embed_bitmaps target module func header dir)
  file(GLOB bmps CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.bmp)
  list(SORT bmps)
  set(out ${CMAKE_BINARY_DIR}/generated/${dir}/${func}Resources.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DMODULE=${module} -DFUNC=${func}
            -DHEADER=${header} "-DFILES=${bmps}" -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    DEPENDS ${bmps} ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    COMMENT "Embedding the bitmaps of ${dir}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()

bw_embed_bitmaps(bw_platform platform SystemResources platform/graphics/TResourceModule.h
                 platform/graphics/resources)
bw_embed_bitmaps(bw_brantwell brantwell HInstance grid/ModuleResources.h grid/resources)

# The BMP reader's fuzz target, built with clang only: cmake -DBW_FUZZ=ON
# -DCMAKE_CXX_COMPILER=clang++ -DBW_SANITIZE=ON, then build/fuzz/fuzz_bmp.
option(BW_FUZZ "Build the libFuzzer targets (clang)" OFF)
if(BW_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  target_compile_options(bw_platform PRIVATE -fsanitize=fuzzer-no-link)
  add_executable(fuzz_bmp ${CMAKE_SOURCE_DIR}/fuzz/bmp.cpp)
  target_compile_options(fuzz_bmp PRIVATE -fsanitize=fuzzer)
  target_link_options(fuzz_bmp PRIVATE -fsanitize=fuzzer)
  target_link_libraries(fuzz_bmp PRIVATE bw_platform)
  set_target_properties(fuzz_bmp PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
endif()
