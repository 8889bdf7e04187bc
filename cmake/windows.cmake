# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program, cross-built with MinGW-w64 against a static Qt (script/windows): one
# file that runs with nothing beside it.

# Qt's -static-runtime links its own libraries statically; the program's link still pulled in
# libgcc_s, libstdc++ and winpthread as DLLs until it was told -static itself.
add_link_options(-static "$<$<CONFIG:Release,MinSizeRel>:-s>")
# The linker writes the time of linking into the PE header unless told not to: two builds of the
# same commit would differ in those four bytes.
add_link_options(LINKER:--no-insert-timestamp)

# A cross build makes the program only: its checks run under Wine (tests/wine_check.sh).
if(CMAKE_CROSSCOMPILING)
    set(BUILD_TESTING OFF CACHE BOOL "Build the tests")
endif()
