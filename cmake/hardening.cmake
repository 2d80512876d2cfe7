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

# On Windows the linker makes every exe relocatable with a non-executable
# stack already, and the compiler probes every stack page it allocates; stack
# clash protection there only breaks the compiler (GCC 12 fails on it).
if(WIN32)
  add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>" -fstack-protector-strong)
  add_link_options(-fstack-protector-strong)
  return()
endif()

include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# Fortification works only in optimised code; glibc warns about it at -O0.
add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>"
                    -fstack-protector-strong -fstack-clash-protection)
add_link_options(LINKER:-z,relro LINKER:-z,now)
