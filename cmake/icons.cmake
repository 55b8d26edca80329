# Draws the program's icons at build time: the .ico for the Windows resource, PNGs for Linux.
#
# Defines the target program_icons and, for the targets that use its output:
#   PROGRAM_ICON_DIR     where the icons go
#   PROGRAM_ICO          the .ico, 16 to 256 px at 4, 8 and 32 bits
#   PROGRAM_ICON_SIZES   the sizes N of the theme PNGs
#   PROGRAM_ICON_PNGS    their paths, PROGRAM_ICON_DIR/hicolor/NxN/apps/plugin-generator.png
#   PROGRAM_ICON_TOOL    the program that draws them

# The drawing program runs on the build machine, so in the cross build it must not be built with
# CMAKE_CXX_COMPILER, which makes Windows programs.
if(CMAKE_CROSSCOMPILING)
  find_program(HOST_CXX NAMES c++ g++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH
    DOC "C++ compiler for programs that run during the build")
else()
  set(HOST_CXX ${CMAKE_CXX_COMPILER})
endif()

set(PROGRAM_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(PROGRAM_ICO ${PROGRAM_ICON_DIR}/plugin-generator.ico)
set(PROGRAM_ICON_SIZES 16 24 32 48 64 128 256)
set(PROGRAM_ICON_PNGS)
foreach(size IN LISTS PROGRAM_ICON_SIZES)
  list(APPEND PROGRAM_ICON_PNGS ${PROGRAM_ICON_DIR}/hicolor/${size}x${size}/apps/plugin-generator.png)
endforeach()

set(PROGRAM_ICON_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../tools/icon/make_icons.cpp)
set(PROGRAM_ICON_TOOL ${CMAKE_BINARY_DIR}/host-tools/make_icons)
add_custom_command(OUTPUT ${PROGRAM_ICON_TOOL}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host-tools
  COMMAND ${HOST_CXX} -std=c++20 -O2 -Wall -Wextra -Wpedantic
          ${PROGRAM_ICON_SOURCE} -o ${PROGRAM_ICON_TOOL}
  DEPENDS ${PROGRAM_ICON_SOURCE}
  COMMENT "Building make_icons for the build machine"
  VERBATIM)
add_custom_command(OUTPUT ${PROGRAM_ICO} ${PROGRAM_ICON_PNGS}
  COMMAND ${PROGRAM_ICON_TOOL} ${PROGRAM_ICON_DIR}
  DEPENDS ${PROGRAM_ICON_TOOL}
  COMMENT "Drawing the program icons"
  VERBATIM)
add_custom_target(program_icons ALL DEPENDS ${PROGRAM_ICO} ${PROGRAM_ICON_PNGS})
