# SPDX-License-Identifier: GPL-3.0-or-later
# Debian's hardening flags for the optimised builds, applied to every target defined after this.
# _FORTIFY_SOURCE needs optimisation (glibc warns without it, and -Werror makes that fatal), so
# Debug builds go without. CMake ignores CPPFLAGS, hence the define here; undefining it first
# keeps a different level coming in through CXXFLAGS from turning into a redefinition warning.
# WebAssembly has none of it: no position-independent code in a static program, no RELRO, and
# Emscripten's C library has neither the stack protector's guard nor the fortified functions;
# the browser keeps the program's memory apart from everything else.
if(EMSCRIPTEN)
    return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

set(hardened "$<CONFIG:Release,RelWithDebInfo>")
add_compile_options(
    "$<${hardened}:-fstack-protector-strong>"
    "$<${hardened}:-U_FORTIFY_SOURCE>"
    "$<${hardened}:-D_FORTIFY_SOURCE=2>")
if(WIN32)
    # PE has no RELRO; its loader randomises the image (64-bit addresses too) and keeps data from
    # running when the header asks. The stack protector's runtime is libssp, linked on request.
    add_link_options("$<${hardened}:-fstack-protector-strong>"
        "$<${hardened}:LINKER:--dynamicbase,--nxcompat,--high-entropy-va>")
else()
    add_link_options("$<${hardened}:LINKER:-z,relro,-z,now>")
endif()
unset(hardened)
