# Script mode, run by vantrel_embed_resource_script at build time: writes OUTPUT, a C++
# source holding SCRIPT and the INCLUDE_FILES (registered as INCLUDE_NAMES) as byte arrays.

function(byte_array variable file)
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Twenty bytes to a line keeps the generated file readable in a diff tool.
  string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){20})" "\\1\n    " bytes "${bytes}")
  set(${variable} "${bytes}" PARENT_SCOPE)
endfunction()

string(REPLACE "|" ";" include_files "${INCLUDE_FILES}")
string(REPLACE "|" ";" include_names "${INCLUDE_NAMES}")

byte_array(script_bytes ${SCRIPT})
set(body "// Generated from ${SCRIPT_NAME} by cmake/write_resource_script_source.cmake: do not edit.\n")
string(APPEND body "#include \"host/window/resource_script.h\"\n\nnamespace {\n\n")
string(APPEND body "const char scriptText[] = {\n    ${script_bytes}0x00};\n\n")

set(entries "")
list(LENGTH include_files count)
if(count GREATER 0)
  math(EXPR last "${count} - 1")
  foreach(i RANGE ${last})
    list(GET include_files ${i} file)
    list(GET include_names ${i} name)
    byte_array(bytes ${file})
    string(APPEND body "const char include${i}Text[] = {\n    ${bytes}0x00};\n\n")
    string(APPEND entries "    {\"${name}\", include${i}Text, sizeof(include${i}Text) - 1},\n")
  endforeach()
  string(APPEND body "const host::EmbeddedFile includes[] = {\n${entries}};\n\n")
  set(include_pointer "includes")
else()
  set(include_pointer "nullptr")
endif()

string(APPEND body "const host::ResourceScript script = {\"${SCRIPT_NAME}\", scriptText, sizeof(scriptText) - 1, ${include_pointer}, ${count}};\n\n")
string(APPEND body "// Registered before main, as the loader makes an executable's resources available.\n")
string(APPEND body "struct Registration {\n  Registration() { host::RegisterResourceScript(&script); }\n} registration;\n\n")
string(APPEND body "}  // namespace\n")

# Rewritten only when it changes, so nothing recompiles needlessly.
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} previous)
  if(previous STREQUAL body)
    return()
  endif()
endif()
file(WRITE ${OUTPUT} "${body}")
