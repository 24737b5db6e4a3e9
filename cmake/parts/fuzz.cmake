# libFuzzer targets: each fuzz/NAME.cpp that no other part builds becomes fuzz_NAME, with
# its seed corpus in fuzz/corpus/NAME and a dictionary in fuzz/NAME.dict or, for a name
# with a prefix, fuzz/PREFIX.dict (fuzz/form.dict for fuzz_form_text). ./dev fuzz runs
# them. Only with clang and -DBW_FUZZ=ON, which also instruments the libraries so the
# fuzzer sees their coverage:
#   CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DBW_FUZZ=ON -DBW_BUILD_TESTS=OFF
#   cmake --build build/fuzz --target fuzz_form_text
#   build/fuzz/fuzz/fuzz_form_text -dict=fuzz/form.dict build/fuzz/corpus/form_text fuzz/corpus/form_text

option(BW_FUZZ "Build the libFuzzer targets in fuzz/ (clang only)" OFF)

function(bw_add_fuzzers)
  file(GLOB fuzzers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
  foreach(f IN LISTS fuzzers)
    get_filename_component(n ${f} NAME_WE)
    if(TARGET fuzz_${n})
      continue()  # another part builds it
    endif()
    # The form test classes give fuzzed forms every kind of property to fill.
    add_executable(fuzz_${n} ${f} ${CMAKE_SOURCE_DIR}/tests/platform/core/FormTestClasses.cpp)
    target_compile_options(fuzz_${n} PRIVATE -fsanitize=fuzzer,address,undefined
                                             -fno-sanitize-recover=all)
    target_link_options(fuzz_${n} PRIVATE -fsanitize=fuzzer,address,undefined)
    # Whole, so that every class registers itself and forms can name it.
    target_link_libraries(fuzz_${n} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,bw_brantwell>")
    set_target_properties(fuzz_${n} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  endforeach()
endfunction()

if(BW_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # Undefined behaviour stops the run like a crash, so that the fuzzer keeps the input.
  set(bw_fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                    -fno-sanitize-recover=all)
  target_compile_options(bw_platform PRIVATE ${bw_fuzz_flags})
  target_compile_options(bw_brantwell PRIVATE ${bw_fuzz_flags})
  target_link_options(bw_platform INTERFACE -fsanitize=address,undefined)
  # At the end, so that parts included later can build their own targets first.
  cmake_language(DEFER CALL bw_add_fuzzers)
elseif(BW_FUZZ)
  message(WARNING "BW_FUZZ needs clang; the fuzz targets are not built")
endif()
