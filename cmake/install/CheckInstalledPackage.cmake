# Run by the installed_package test (cmake -P): installs the build tree into WORK_DIR,
# runs the installed bw-form, compiles each installed header in a file of its own, then
# builds examples/minimal against it as a project of its own, once through find_package
# and once through pkg-config, and runs both programs. All of it compiles as a program
# whose own folders bear the package's folder names.
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

file(WRITE ${WORK_DIR}/form.txt "object Form1: TForm\n  Width = 160\n  Height = 90\nend\n")
run("Running the installed bw-form" ${prefix}/bin/bw-form render ${WORK_DIR}/form.txt
    -o ${WORK_DIR}/bw-form.png)
expect_png(${WORK_DIR}/bw-form.png)

# A program's own platform/, grid/, ... folders, searched first for quoted includes: each
# installed header's path there stops the build, as it would if the headers reached for
# a program's files instead of their own.
set(include_dir ${prefix}/include/brantwell)
file(GLOB_RECURSE headers RELATIVE ${include_dir} ${include_dir}/*.h)
foreach(header IN LISTS headers)
  file(WRITE ${WORK_DIR}/own/${header} "#error \"the program's own ${header} was included\"\n")
endforeach()
set(compile_flags "${FLAGS} -iquote ${WORK_DIR}/own")

# Each header on its own. Its callers also need the classes its functions return or take
# by value: each such class it names after declaring it only must be complete.
set(declared_only "")
foreach(header IN LISTS headers)
  file(READ ${include_dir}/${header} text)
  string(REGEX MATCHALL "\n(class|struct) [A-Za-z_0-9]+;" found "${text}")
  string(REGEX REPLACE "\n(class|struct) " "" found "${found}")
  list(APPEND declared_only ${found})
endforeach()
list(REMOVE_ITEM declared_only "")
list(REMOVE_DUPLICATES declared_only)
set(sources "")
foreach(header IN LISTS headers)
  file(READ ${include_dir}/${header} text)
  string(REGEX REPLACE "//[^\n]*" "" text "${text}")
  set(checks "")
  foreach(name IN LISTS declared_only)
    if(text MATCHES "(unique_ptr<${name}>|[^A-Za-z_0-9:<*&]${name}) +[A-Za-z_0-9]+ *[(,)=]")
      string(APPEND checks "static_assert(sizeof(${name}) > 0);\n")
    endif()
  endforeach()
  string(MAKE_C_IDENTIFIER ${header} source)
  file(WRITE ${WORK_DIR}/headers/${source}.cpp
       "#include <brantwell/${header}>\nnamespace bw {\n${checks}}\n")
  list(APPEND sources ${source}.cpp)
endforeach()
file(WRITE ${WORK_DIR}/headers/CMakeLists.txt "cmake_minimum_required(VERSION 3.25)
project(headers LANGUAGES CXX)
find_package(Brantwell REQUIRED OPTIONAL_COMPONENTS sdl)
add_library(headers OBJECT ${sources})
target_link_libraries(headers PRIVATE Brantwell::brantwell $<TARGET_NAME_IF_EXISTS:Brantwell::sdl>)
")
run("Configuring the header check" ${CMAKE_COMMAND} -S ${WORK_DIR}/headers -B ${WORK_DIR}/headers/build
    -G Ninja -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX}
    "-DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER}" -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
    "-DCMAKE_CXX_FLAGS=${compile_flags} -Wall -Wextra")
run("Compiling each header on its own" ${CMAKE_COMMAND} --build ${WORK_DIR}/headers/build)

# Through find_package, with nothing but the prefix to go on.
run("Configuring the example" ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/cmake -G Ninja
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER}"
    -DCMAKE_BUILD_TYPE=${BUILD_TYPE} "-DCMAKE_CXX_FLAGS=${compile_flags}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}")
run("Building the example" ${CMAKE_COMMAND} --build ${WORK_DIR}/cmake)
run("Running the example" ${WORK_DIR}/cmake/minimal ${WORK_DIR}/cmake.png)
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
separate_arguments(extra UNIX_COMMAND "${compile_flags}")
run("Building the example with pkg-config" ${LAUNCHER} ${CXX} ${extra} ${SOURCE_DIR}/main.cpp
    -o ${WORK_DIR}/minimal-pc ${pc_flags})
run("Running the pkg-config example" ${WORK_DIR}/minimal-pc ${WORK_DIR}/pkg-config.png)
expect_png(${WORK_DIR}/pkg-config.png)
