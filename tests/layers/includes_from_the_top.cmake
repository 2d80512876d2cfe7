# Every quoted include in the program's own folders names its header from the
# top of the tree ("engine/court.h"). A path relative to the including file
# ("../forms/program.h", "qt/qt_runtime.h") would be found beside that file,
# past the include roots that keep the layers apart.
# Usage: cmake -DROOT=SOURCE_DIR -P includes_from_the_top.cmake
set(folders toolkit engine forms app)
set(globs)
foreach(folder IN LISTS folders)
  list(APPEND globs ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
endforeach()
file(GLOB_RECURSE files ${globs})
list(JOIN folders "|" top)
set(wrong)
foreach(file IN LISTS files)
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(include IN LISTS includes)
    if(NOT include MATCHES "\"(${top})/[^\"]+\"" OR include MATCHES "\\.\\./")
      file(RELATIVE_PATH name ${ROOT} ${file})
      string(APPEND wrong "\n  ${name}: ${include}")
    endif()
  endforeach()
endforeach()
if(wrong)
  message(FATAL_ERROR "Includes not written from the top of the tree:${wrong}")
endif()
