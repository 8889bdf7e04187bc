# SPDX-License-Identifier: GPL-3.0-or-later
# Writes one program's site (cmake -P, run by the build after the program is linked; see
# refs_quiz_add_site in wasm.cmake). Files are copied only when they changed, and compressed
# again only when their copy is newer than its compressed one: brotli at its best takes the
# better part of a minute over the program.
foreach(variable PROGRAM PROGRAM_DIR SITE PAGE_DIR ICON_DIR ICO BROTLI GZIP)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "write_site.cmake: ${variable} is not set")
    endif()
endforeach()

file(MAKE_DIRECTORY ${SITE})

# The page shows download progress against the program's size as the browser unpacks it.
file(SIZE ${PROGRAM_DIR}/${PROGRAM}.wasm WASM_BYTES)
configure_file(${PAGE_DIR}/index.html ${SITE}/index.html @ONLY)

set(copies
    ${PAGE_DIR}/page.js ${PAGE_DIR}/platform.js ${PAGE_DIR}/page.css ${PAGE_DIR}/SERVER.md
    ${PROGRAM_DIR}/qtloader.js ${PROGRAM_DIR}/${PROGRAM}.js ${PROGRAM_DIR}/${PROGRAM}.wasm
    ${ICON_DIR}/icon-16.png ${ICON_DIR}/icon-32.png ${ICON_DIR}/icon-128.png)
foreach(file IN LISTS copies)
    get_filename_component(name ${file} NAME)
    file(COPY_FILE ${file} ${SITE}/${name} ONLY_IF_DIFFERENT)
endforeach()
# Some browsers and feed readers ask for /favicon.ico whatever the page names.
file(COPY_FILE ${ICO} ${SITE}/favicon.ico ONLY_IF_DIFFERENT)

foreach(name index.html page.js platform.js page.css qtloader.js ${PROGRAM}.js ${PROGRAM}.wasm)
    set(file ${SITE}/${name})
    if(NOT EXISTS ${file}.br OR ${file} IS_NEWER_THAN ${file}.br)
        # --no-copy-stat: a copy with its original's time would look out of date on every build.
        execute_process(COMMAND ${BROTLI} --best --force --no-copy-stat --output=${file}.br ${file}
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
    if(NOT EXISTS ${file}.gz OR ${file} IS_NEWER_THAN ${file}.gz)
        # -n leaves out the name and time, so the same program always gives the same bytes.
        execute_process(COMMAND ${GZIP} -9 -n -c ${file} OUTPUT_FILE ${file}.gz
            COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
