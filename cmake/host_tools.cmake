# SPDX-License-Identifier: GPL-3.0-or-later
# The build-time tools of a cross build, made for the build machine: the picture generator
# (make_assets) has to run while the Windows program is being built. Either a build of this
# project for this machine is named, or one is configured and built under the build tree.
set(REFS_QUIZ_HOST_TOOLS "" CACHE PATH
    "A build of this project for the build machine, whose make_assets a cross build runs")

if(REFS_QUIZ_HOST_TOOLS)
    set(host_build ${REFS_QUIZ_HOST_TOOLS})
else()
    include(ExternalProject)
    set(host_build ${CMAKE_BINARY_DIR}/host-tools)
    # A toolchain or compilers in the environment would make it a cross build again.
    ExternalProject_Add(host-tools
        SOURCE_DIR ${PROJECT_SOURCE_DIR}
        BINARY_DIR ${host_build}
        CMAKE_COMMAND ${CMAKE_COMMAND} -E env --unset=CC --unset=CXX --unset=CMAKE_TOOLCHAIN_FILE
            ${CMAKE_COMMAND}
        CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
            -DREFS_QUIZ_FONT_DIR=${REFS_QUIZ_FONT_DIR}
        BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target make_assets
        BUILD_ALWAYS ON
        BUILD_BYPRODUCTS ${host_build}/assets/make_assets
        INSTALL_COMMAND "")
endif()

add_executable(make_assets IMPORTED GLOBAL)
set_target_properties(make_assets PROPERTIES IMPORTED_LOCATION ${host_build}/assets/make_assets)
if(TARGET host-tools)
    add_dependencies(make_assets host-tools)
endif()
