# What `cmake --install` puts in place, for other projects to build on:
#   include/brantwell/...                 the headers, by folder as in the source tree;
#                                         include/ is what a program's include path gains
#   bin/bw-form                           the form tool
#   lib/libbw_platform.a, libbw_brantwell.a (and libbw_sdl.a when the SDL back end is built)
#   lib/cmake/Brantwell/                  find_package(Brantwell): Brantwell::platform,
#                                         Brantwell::brantwell, Brantwell::sdl when built
#   lib/pkgconfig/brantwell.pc            the same for pkg-config users, and
#   lib/pkgconfig/brantwell-sdl.pc        brantwell-sdl.pc when the SDL back end is built
# The archives are exported as Brantwell::*_archive; the targets a program links take them
# whole (see CMakeLists.txt), so classes that register themselves stay linked.

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(BW_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Brantwell)

set_target_properties(bw_platform PROPERTIES EXPORT_NAME platform_archive)
set_target_properties(bw_brantwell PROPERTIES EXPORT_NAME brantwell_archive)
set_target_properties(bw_platform_whole PROPERTIES EXPORT_NAME platform)
set_target_properties(bw_brantwell_whole PROPERTIES EXPORT_NAME brantwell)
set(bw_installed_targets bw_platform bw_brantwell bw_platform_whole bw_brantwell_whole)
set(BW_HAVE_SDL OFF)
if(TARGET bw_sdl)
  set_target_properties(bw_sdl PROPERTIES EXPORT_NAME sdl)
  list(APPEND bw_installed_targets bw_sdl)
  set(BW_HAVE_SDL ON)
endif()

install(TARGETS ${bw_installed_targets} EXPORT BrantwellTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS bw-form RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# In the source tree the headers include each other from its root ("platform/core/Types.h");
# installed, they sit under brantwell/, and only the folder above it is on a program's
# include path, so that these generic folder names never meet a program's own. Rather
# than prefix every include in the sources, the install rewrites them to
# "brantwell/platform/core/Types.h" (cmake/install/PrefixIncludes.cmake).
set(bw_header_dirs platform sparse grid stringgrid editor package)
set(bw_header_excludes PATTERN "resources" EXCLUDE)
if(NOT BW_HAVE_SDL)
  # Without the library, its headers would only name an SDL2 that is not there.
  list(APPEND bw_header_excludes PATTERN "sdl" EXCLUDE)
endif()
install(DIRECTORY ${bw_header_dirs} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/brantwell
        FILES_MATCHING PATTERN "*.h" ${bw_header_excludes})
install(CODE "set(BW_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
              set(BW_HEADER_DIRS \"${bw_header_dirs}\")")
install(SCRIPT cmake/install/PrefixIncludes.cmake)
install(EXPORT BrantwellTargets NAMESPACE Brantwell:: DESTINATION ${BW_CMAKE_DIR})

configure_package_config_file(cmake/install/BrantwellConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/install/BrantwellConfig.cmake
                              INSTALL_DESTINATION ${BW_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/install/BrantwellConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/install/BrantwellConfig.cmake
              ${CMAKE_BINARY_DIR}/install/BrantwellConfigVersion.cmake
        DESTINATION ${BW_CMAKE_DIR})

# pkg-config: the prefix is found from the .pc file's own place, so the files can be
# installed under any --prefix.
file(RELATIVE_PATH BW_PC_TO_PREFIX /p/${CMAKE_INSTALL_LIBDIR}/pkgconfig /p)
set(bw_pc_files brantwell)
if(BW_HAVE_SDL)
  list(APPEND bw_pc_files brantwell-sdl)
endif()
foreach(pc IN LISTS bw_pc_files)
  configure_file(cmake/install/${pc}.pc.in ${CMAKE_BINARY_DIR}/install/${pc}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/install/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

# The check that all of the above works for a project of its own: install into a
# folder of the build tree, run bw-form, compile each header alone, then build and run
# examples/minimal against it, through find_package and through pkg-config.
if(BW_BUILD_TESTS)
  set(bw_consumer_flags "")
  if(BW_SANITIZE)
    set(bw_consumer_flags "-fsanitize=address,undefined")
  endif()
  add_test(NAME installed_package
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                   -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/examples/minimal
                   -DWORK_DIR=${CMAKE_BINARY_DIR}/installed-package
                   -DCXX=${CMAKE_CXX_COMPILER} "-DLAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}"
                   -DBUILD_TYPE=$<CONFIG> "-DFLAGS=${bw_consumer_flags}"
                   -P ${CMAKE_SOURCE_DIR}/cmake/install/CheckInstalledPackage.cmake)
  set_tests_properties(installed_package PROPERTIES TIMEOUT 1200 RUN_SERIAL TRUE
                       ENVIRONMENT "BW_HEADLESS=1;BW_BACKEND=headless")
endif()
