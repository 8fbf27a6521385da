# Header-only libraries from Debian's packages, for both builds. The MinGW build must not see
# the host's /usr/include, so each header is copied into a folder of its own in the build tree.
function(vantrel_system_header target header)
  set(source /usr/include/${header})
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "${source} is missing: ./test and ./run install it (see the README)")
  endif()
  set(folder ${CMAKE_BINARY_DIR}/system_headers/${target})
  configure_file(${source} ${folder}/${header} COPYONLY)
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${folder})
endfunction()
