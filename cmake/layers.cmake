# Layers the compiler enforces. Headers are included by their path from the
# top of the tree ("engine/court.h"), yet no target sees the whole tree: each
# library exposes only the headers of its own folder, through an include root
# of its own in the build tree that holds links to them. Headers of another
# layer are found only through linking that layer, so an include against the
# order app → forms → engine → toolkit ← toolkit/qt, toolkit/scripted finds
# no file and the build fails.

# bounzo_headers(TARGET FOLDER): the headers right in FOLDER (not in its
# subfolders), for TARGET's own sources and for everything that links it.
function(bounzo_headers target folder)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  # Made afresh, so that a header removed from FOLDER is gone from it too.
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header IN LISTS headers)
    get_filename_component(name ${header} NAME)
    file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL INTERFACE_LIBRARY)
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
