# Builds one layer probe and checks that its header was found, or was not
# found, as the row says.
# Usage: cmake -DBUILD_DIR=DIR -DPROBE=TARGET -DLIBRARY=NAME -DHEADER=PATH
#              -DEXPECT=reaches|misses -P probe.cmake
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${PROBE}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
# What GCC and Clang say of an include they cannot find.
string(FIND "${output}" "${HEADER}: No such file or directory" gcc_missing)
string(FIND "${output}" "'${HEADER}' file not found" clang_missing)
if(gcc_missing GREATER -1 OR clang_missing GREATER -1)
  set(found FALSE)
elseif(status EQUAL 0)
  set(found TRUE)
else()
  message(FATAL_ERROR "The probe of ${HEADER} from ${LIBRARY} failed to build for another reason:\n${output}")
endif()

if(EXPECT STREQUAL "reaches" AND NOT found)
  message(FATAL_ERROR "${LIBRARY} cannot include ${HEADER}, which is below it:\n${output}")
elseif(EXPECT STREQUAL "misses" AND found)
  message(FATAL_ERROR "${LIBRARY} can include ${HEADER}, against the order of the layers")
endif()
