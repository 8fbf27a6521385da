# Debian's header-only libraries (nlohmann-json3-dev, libcxxopts-dev), copied into the build
# tree so that the cross build can use them without putting the host's /usr/include, and its
# C library headers, on the MinGW include path.
#
#   vantrel_json      nlohmann/json.hpp
#   vantrel_cxxopts   cxxopts.hpp

set(header_root ${CMAKE_BINARY_DIR}/third_party/include)
find_path(VANTREL_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(VANTREL_CXXOPTS_INCLUDE cxxopts.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(COPY ${VANTREL_JSON_INCLUDE}/nlohmann DESTINATION ${header_root})
file(COPY ${VANTREL_CXXOPTS_INCLUDE}/cxxopts.hpp DESTINATION ${header_root})

add_library(vantrel_json INTERFACE)
target_include_directories(vantrel_json SYSTEM INTERFACE ${header_root})
add_library(vantrel_cxxopts INTERFACE)
target_include_directories(vantrel_cxxopts SYSTEM INTERFACE ${header_root})
