# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the site as a SCORM 1.2 package (cmake -P, run by the build after the site is
# written; see packaging/CMakeLists.txt): the manifest, with every file listed, and the site
# beside it, zipped. A platform serves the files as they are stored, so the site's
# precompressed copies stay out.
foreach(variable SITE STAGING MANIFEST PACKAGE REFS_QUIZ_ID PROJECT_VERSION PYTHON)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "write_scorm_package.cmake: ${variable} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${STAGING})
file(MAKE_DIRECTORY ${STAGING})
file(GLOB names RELATIVE ${SITE} ${SITE}/*)
list(FILTER names EXCLUDE REGEX "\\.(br|gz)$")
list(SORT names)
set(FILES "")
foreach(name IN LISTS names)
    if(NOT name MATCHES "^[A-Za-z0-9._-]+$")
        message(FATAL_ERROR "write_scorm_package.cmake: ${name} cannot be listed as it is")
    endif()
    file(COPY_FILE ${SITE}/${name} ${STAGING}/${name})
    string(APPEND FILES "      <file href=\"${name}\"/>\n")
endforeach()
string(REGEX REPLACE "\n$" "" FILES "${FILES}")
configure_file(${MANIFEST} ${STAGING}/imsmanifest.xml @ONLY)

execute_process(COMMAND ${PYTHON} ${CMAKE_CURRENT_LIST_DIR}/write_zip.py ${PACKAGE} ${STAGING}
    COMMAND_ERROR_IS_FATAL ANY)
