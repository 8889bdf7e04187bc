# SPDX-License-Identifier: GPL-3.0-or-later
# The quiz in a web browser: built with Emscripten against a static Qt for WebAssembly
# (script/web) and written out as a site of its own, our page around the program with
# precompressed copies beside it, so that any static web server can hand it out.

# A cross build makes the program only: its checks run in a browser (web/test/).
set(BUILD_TESTING OFF CACHE BOOL "Build the tests")

# Emscripten turns a throw into an abort unless exceptions are compiled in and caught at link
# time; the program reports run-time errors by throwing. Qt, built without them, asks for no
# catching in its link options; of two settings the later wins, and libraries come last.
add_compile_options(-fexceptions)
link_libraries("-sDISABLE_EXCEPTION_CATCHING=0")

find_program(REFS_QUIZ_BROTLI brotli REQUIRED)
find_program(REFS_QUIZ_GZIP gzip REQUIRED)
# Writes the site's zips (cmake/write_zip.py): Debian's Python, whatever else is first on PATH.
find_program(REFS_QUIZ_PYTHON python3 HINTS /usr/bin REQUIRED)

# Writes the site of one program into a folder: web/index.html with the program's name and
# size filled in, the page's script and style, Qt's loader, the program, its icon as the
# favicon, the note for the server, and brotli and gzip copies of what is worth compressing.
function(refs_quiz_add_site target site)
    add_custom_target(${target}-site ALL
        COMMAND ${CMAKE_COMMAND}
            -DPROGRAM=$<TARGET_FILE_BASE_NAME:${target}>
            -DPROGRAM_DIR=$<TARGET_FILE_DIR:${target}>
            -DSITE=${site}
            -DPAGE_DIR=${PROJECT_SOURCE_DIR}/web
            -DICON_DIR=${REFS_QUIZ_ASSET_DIR}
            -DICO=${REFS_QUIZ_ICO}
            -DBROTLI=${REFS_QUIZ_BROTLI}
            -DGZIP=${REFS_QUIZ_GZIP}
            -P ${PROJECT_SOURCE_DIR}/cmake/write_site.cmake
        DEPENDS ${target} refs-quiz-assets
        COMMENT "Writing the site of ${target} into ${site}"
        VERBATIM)
endfunction()
