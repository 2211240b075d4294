# The program's libraries, shared by the program's build (the root
# CMakeLists.txt) and the fuzz build (fuzz/CMakeLists.txt), so that both always
# compile the same sources: every source file of a layer's folder is found
# here, none is listed by hand.

set(LOQUENA_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network)
find_package(PkgConfig REQUIRED)
pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
pkg_check_modules(LIBPQ REQUIRED IMPORTED_TARGET libpq)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(LIBJPEG REQUIRED IMPORTED_TARGET libjpeg)
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libswscale libswresample
                  libavutil)
# The mouse events of the X window system, read where the design is scaled.
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb xcb-xinput)
pkg_check_modules(ESPEAK REQUIRED IMPORTED_TARGET espeak-ng)

# The compiler's warnings for every target of the project; the including
# build sets them (the fuzz build's clang is left at its defaults).
add_library(loquena_warnings INTERFACE)

# Everything outside the project that the program's libraries use.
add_library(loquena_deps INTERFACE)
target_link_libraries(loquena_deps INTERFACE
  Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network
  PkgConfig::SQLITE3 PkgConfig::LIBPQ PkgConfig::SDL2 PkgConfig::LIBJPEG PkgConfig::FFMPEG
  PkgConfig::XCB PkgConfig::ESPEAK
  loquena_warnings)

# One static library per subsystem folder, each linked to the layers below it
# only, so that a lower layer can never reach up.
set(LOQUENA_LAYERS app platform graphics content patients statistics controls
                   exercises therapy reports mainwindow)
set(_below loquena_deps)
foreach(layer IN LISTS LOQUENA_LAYERS)
  set(_dir ${LOQUENA_SOURCE_ROOT}/src/${layer})
  file(GLOB _src CONFIGURE_DEPENDS ${_dir}/*.cpp ${_dir}/*.h ${_dir}/*.qrc)
  list(FILTER _src EXCLUDE REGEX "/main\\.cpp$")
  add_library(loquena_${layer} STATIC ${_src} ${_dir}/.keep)
  set_source_files_properties(${_dir}/.keep PROPERTIES HEADER_FILE_ONLY ON)
  target_include_directories(loquena_${layer} PUBLIC ${LOQUENA_SOURCE_ROOT}/src)
  target_link_libraries(loquena_${layer} PUBLIC ${_below})
  set_target_properties(loquena_${layer} PROPERTIES LINKER_LANGUAGE CXX AUTORCC ON)
  set(_below loquena_${layer})
endforeach()

# The progress reports print and write PDF files.
find_package(Qt6 REQUIRED COMPONENTS PrintSupport)
target_link_libraries(loquena_reports PUBLIC Qt6::PrintSupport)

# The fuzz targets' entry code (fuzz/): run by libFuzzer in the fuzz build and
# fed the inputs the fuzzers found by the tests of each layer.
file(GLOB _fuzzentries CONFIGURE_DEPENDS ${LOQUENA_SOURCE_ROOT}/fuzz/*Entry.cpp
     ${LOQUENA_SOURCE_ROOT}/fuzz/FuzzScratch.cpp)
add_library(loquena_fuzzentries STATIC EXCLUDE_FROM_ALL ${_fuzzentries})
target_include_directories(loquena_fuzzentries PUBLIC ${LOQUENA_SOURCE_ROOT}/fuzz)
target_link_libraries(loquena_fuzzentries PUBLIC loquena_controls)
