# Hardening of everything built here, the protections Debian builds its own
# packages with: position-independent executables, fortified C library calls,
# stack protector and stack-clash probes, and relocations made read-only at
# start-up (full RELRO with immediate binding). No -fcf-protection: Debian 12's
# C start-up files lack the CET marking, so a program linked with them is never
# marked for it whatever its own objects are built with.
option(BOUNZO_HARDENING "Build with hardening compiler and linker flags" ON)
if(NOT BOUNZO_HARDENING)
  return()
endif()

include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# Fortification works only in optimised code; glibc warns about it at -O0.
add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>"
                    -fstack-protector-strong -fstack-clash-protection)
add_link_options(LINKER:-z,relro LINKER:-z,now)
