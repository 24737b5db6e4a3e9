# The raster graphics of the platform: FreeType and fontconfig for text, libpng for PNG
# export, and the bitmap resources (.bmp files turned into C++ byte arrays at build time).
find_package(PkgConfig REQUIRED)
pkg_check_modules(BW_FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(BW_FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(BW_PNG REQUIRED IMPORTED_TARGET libpng)
target_link_libraries(bw_platform PUBLIC PkgConfig::BW_FREETYPE PkgConfig::BW_FONTCONFIG PkgConfig::BW_PNG)
