# Links a resource script into host executables, as windres links resources into the .exe:
# a generated source holds the script's text and the texts of the headers it includes, and
# registers them with the host window system before main runs (RegisterResourceScript).
#
#   vantrel_embed_resource_script(<target> SCRIPT <file.rc> INCLUDES <header>...)
#
# makes the OBJECT library <target>; link it into every host executable that creates the
# dialog. Objects of an OBJECT library are always linked, so the registration is kept.
# Each header is registered under its path relative to the script's folder, which is how
# the script's #include names it.

set(VANTREL_EMBED_WRITER ${CMAKE_CURRENT_LIST_DIR}/write_resource_script_source.cmake)

function(vantrel_embed_resource_script target)
  cmake_parse_arguments(PARSE_ARGV 1 EMBED "" "SCRIPT" "INCLUDES")
  get_filename_component(script ${EMBED_SCRIPT} ABSOLUTE)
  get_filename_component(script_folder ${script} DIRECTORY)
  get_filename_component(script_name ${script} NAME)
  set(include_files "")
  set(include_names "")
  foreach(header IN LISTS EMBED_INCLUDES)
    get_filename_component(header ${header} ABSOLUTE)
    file(RELATIVE_PATH name ${script_folder} ${header})
    list(APPEND include_files ${header})
    list(APPEND include_names ${name})
  endforeach()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded.cpp)
  string(REPLACE ";" "|" include_files_arg "${include_files}")
  string(REPLACE ";" "|" include_names_arg "${include_names}")
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND}
            -DOUTPUT=${output}
            -DSCRIPT=${script}
            -DSCRIPT_NAME=${script_name}
            "-DINCLUDE_FILES=${include_files_arg}"
            "-DINCLUDE_NAMES=${include_names_arg}"
            -P ${VANTREL_EMBED_WRITER}
    DEPENDS ${script} ${include_files} ${VANTREL_EMBED_WRITER}
    COMMENT "Embedding ${script_name}"
    VERBATIM)
  add_library(${target} OBJECT ${output})
  target_link_libraries(${target} PRIVATE vantrel_host)
endfunction()
