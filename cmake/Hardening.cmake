# Debian's hardening for every build, not only the package's: the game is started from the
# desktop like any other program, so it gets what every Debian binary gets from
# `dpkg-buildflags` with hardening=+all: fortified string and memory functions, a stack
# protector, stack clash protection, control-flow protection, read-only relocations with
# immediate binding, and a position-independent executable.

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(
    -fstack-protector-strong
    -fstack-clash-protection
    -Wformat
    -Werror=format-security)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|i[3-6]86)$")
    add_compile_options(-fcf-protection)
endif()

# Fortification needs the optimiser (glibc warns without it) and gets in the way of the
# sanitizers, which check the same calls themselves.
if(NOT QUORVALE_SANITIZE)
    add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
endif()

add_link_options(LINKER:-z,relro LINKER:-z,now)

# The programs find Qt where the system keeps it; a RUNPATH (Qt's project setup adds
# $ORIGIN:$ORIGIN/../lib) would let a library dropped beside an installed program be loaded
# in place of the system's.
set(CMAKE_SKIP_INSTALL_RPATH ON)
