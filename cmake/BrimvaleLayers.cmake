# The layer check as a build step: a small host program
# (cmake/check_layers.cpp) reads every source file against the floors of
# cmake/floors.txt before anything of the program is compiled, and fails the
# build on an include that runs upward or into a back end, or on a member
# defined above its class. It runs again only when a source file, the floors
# or the checker change.

add_executable(brimvale_check_layers ${PROJECT_SOURCE_DIR}/cmake/check_layers.cpp)
target_compile_options(brimvale_check_layers PRIVATE -Wall -Wextra)

set(BRIMVALE_FLOORS ${PROJECT_SOURCE_DIR}/cmake/floors.txt)

# Every source file the check reads: those under the floors' top folders.
file(STRINGS ${BRIMVALE_FLOORS} floor_lines REGEX "^floor ")
set(layer_globs)
foreach(line ${floor_lines})
  string(REGEX REPLACE "^floor +[0-9]+ +" "" folders "${line}")
  separate_arguments(folders)
  foreach(folder ${folders})
    string(REGEX REPLACE "/.*" "" top "${folder}")
    foreach(ext h cpp c def)
      list(APPEND layer_globs ${PROJECT_SOURCE_DIR}/${top}/*.${ext})
    endforeach()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES layer_globs)
file(GLOB_RECURSE layer_sources CONFIGURE_DEPENDS ${layer_globs})
list(FILTER layer_sources EXCLUDE REGEX "^${PROJECT_SOURCE_DIR}/tests/data/")

set(layer_stamp ${CMAKE_BINARY_DIR}/layers_checked.stamp)
add_custom_command(
  OUTPUT ${layer_stamp}
  COMMAND brimvale_check_layers ${PROJECT_SOURCE_DIR} ${BRIMVALE_FLOORS} ${layer_stamp}
  DEPENDS brimvale_check_layers ${BRIMVALE_FLOORS} ${layer_sources}
  COMMENT "Checking that every include runs down the floors"
  VERBATIM)
add_custom_target(brimvale_layers DEPENDS ${layer_stamp})
