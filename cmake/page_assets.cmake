# uPlot for the analysis pages. The npm packages pinned in package.json and package-lock.json
# are installed into node_modules (kept out of git) at configure time, when missing or when
# the lock file changed since; then the build embeds uPlot's script, style sheet and licence
# into a generated source, so the programs write pages that work offline.
#
#   vantrel_page_assets(<target>)   the OBJECT library defining analysis::UplotScript() etc.

set(VANTREL_NODE_MODULES ${PROJECT_SOURCE_DIR}/node_modules)
set(VANTREL_UPLOT ${VANTREL_NODE_MODULES}/uplot)
set(VANTREL_PAGE_ASSETS_WRITER ${CMAKE_CURRENT_LIST_DIR}/write_page_assets_source.cmake)

function(vantrel_install_npm_packages)
  # npm keeps its own copy of the lock file in node_modules after every install.
  set(installed_lock ${VANTREL_NODE_MODULES}/.package-lock.json)
  if(EXISTS ${VANTREL_UPLOT}/dist/uPlot.iife.min.js AND
     NOT ${PROJECT_SOURCE_DIR}/package-lock.json IS_NEWER_THAN ${installed_lock})
    return()
  endif()
  find_program(VANTREL_NPM npm NO_CMAKE_FIND_ROOT_PATH)
  if(NOT VANTREL_NPM)
    message(FATAL_ERROR "npm is needed to install uPlot for the analysis pages (Debian: apt-get install npm)")
  endif()
  message(STATUS "Installing the npm packages of package-lock.json")
  execute_process(COMMAND ${VANTREL_NPM} ci --no-audit --no-fund --loglevel=error
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0 OR NOT EXISTS ${VANTREL_UPLOT}/dist/uPlot.iife.min.js)
    message(FATAL_ERROR "npm ci failed (${result}): uPlot is not installed")
  endif()
endfunction()

function(vantrel_page_assets target)
  vantrel_install_npm_packages()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}.cpp)
  set(inputs ${VANTREL_UPLOT}/dist/uPlot.iife.min.js ${VANTREL_UPLOT}/dist/uPlot.min.css ${VANTREL_UPLOT}/LICENSE
             ${VANTREL_UPLOT}/package.json)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} -DUPLOT=${VANTREL_UPLOT} -P ${VANTREL_PAGE_ASSETS_WRITER}
    DEPENDS ${inputs} ${VANTREL_PAGE_ASSETS_WRITER}
    COMMENT "Embedding uPlot"
    VERBATIM)
  add_library(${target} OBJECT ${output})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src)
endfunction()
