# Run by the installed_package test (cmake -P): installs the build tree into WORK_DIR,
# then builds examples/minimal against it as a project of its own, once through
# find_package and once through pkg-config, and runs both programs.
# Inputs: BUILD_DIR, SOURCE_DIR, WORK_DIR, CXX, LAUNCHER, BUILD_TYPE, FLAGS.

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}):\n${out}")
  endif()
endfunction()

function(expect_png file)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "${file} was not written")
  endif()
  file(READ ${file} head LIMIT 8 HEX)
  if(NOT head STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "${file} is not a PNG file")
  endif()
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run("Installing" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

file(WRITE ${WORK_DIR}/form.txt "object Form1: TForm\nend\n")
run("Running bw-form" ${prefix}/bin/bw-form render ${WORK_DIR}/form.txt -o ${WORK_DIR}/form.png)

# Each header alone too, what it returns in a unique_ptr complete, beside a program's own
# folders named as the package's, whose files stop the build if a header includes them.
file(GLOB_RECURSE headers RELATIVE ${prefix}/include/brantwell ${prefix}/include/brantwell/*.h)
foreach(header IN LISTS headers)
  file(WRITE ${WORK_DIR}/own/${header} "#error \"the program's own ${header} was included\"\n")
  file(STRINGS ${prefix}/include/brantwell/${header} returned REGEX "unique_ptr<[A-Za-z0-9_]+> +[A-Za-z0-9_]+\\(")
  string(REGEX REPLACE "[^;]*unique_ptr<([A-Za-z0-9_]+)>[^;]*" "static_assert(sizeof(bw::\\1))" checks "${returned}")
  string(MAKE_C_IDENTIFIER ${header} source)
  file(WRITE ${WORK_DIR}/headers/${source}.cpp "#include <brantwell/${header}>\n${checks};\n")
  list(APPEND sources ${source}.cpp)
endforeach()
file(WRITE ${WORK_DIR}/headers/CMakeLists.txt "cmake_minimum_required(VERSION 3.25)\nproject(h CXX)
find_package(Brantwell REQUIRED OPTIONAL_COMPONENTS sdl)\nadd_library(h OBJECT ${sources})
target_link_libraries(h PRIVATE Brantwell::brantwell $<TARGET_NAME_IF_EXISTS:Brantwell::sdl>)")
set(FLAGS "${FLAGS} -iquote ${WORK_DIR}/own")

# Through find_package, with nothing but the prefix to go on.
foreach(project IN ITEMS ${WORK_DIR}/headers ${SOURCE_DIR})
  get_filename_component(name ${project} NAME)
  run("Configuring ${name}" ${CMAKE_COMMAND} -S ${project} -B ${WORK_DIR}/build-${name} -G Ninja
      -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER}"
      -DCMAKE_BUILD_TYPE=${BUILD_TYPE} "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
  run("Building ${name}" ${CMAKE_COMMAND} --build ${WORK_DIR}/build-${name})
endforeach()
run("Running the example" ${WORK_DIR}/build-minimal/minimal ${WORK_DIR}/cmake.png)
expect_png(${WORK_DIR}/cmake.png)

# Through pkg-config, as a plain compiler line.
find_program(PKG_CONFIG pkg-config REQUIRED)
file(GLOB pc_file ${prefix}/*/pkgconfig/brantwell.pc ${prefix}/*/*/pkgconfig/brantwell.pc)
if(NOT pc_file)
  message(FATAL_ERROR "brantwell.pc was not installed")
endif()
get_filename_component(pc_dir ${pc_file} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
# With the SDL back end, brantwell-sdl (which requires brantwell) is the one to check.
set(module brantwell)
if(EXISTS ${pc_dir}/brantwell-sdl.pc)
  set(module brantwell-sdl)
endif()
execute_process(COMMAND ${PKG_CONFIG} --cflags --libs ${module} RESULT_VARIABLE result
                OUTPUT_VARIABLE pc_flags ERROR_VARIABLE pc_error OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know ${module}: ${pc_error}")
endif()
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
separate_arguments(extra UNIX_COMMAND "${FLAGS}")
run("Building the example with pkg-config" ${LAUNCHER} ${CXX} ${extra} ${SOURCE_DIR}/main.cpp
    -o ${WORK_DIR}/minimal-pc ${pc_flags})
run("Running the pkg-config example" ${WORK_DIR}/minimal-pc ${WORK_DIR}/pkg-config.png)
expect_png(${WORK_DIR}/pkg-config.png)
