# Fails when a source file includes a header of a higher floor. The floors,
# lowest first; folders on one floor may not include each other either,
# except where a folder is listed with the floors it may reach.
#   cmake -DROOT=<source dir> -P cmake/check_layers.cmake
#
# The platform's back ends sit beside its core: they may include the core,
# but only a program's entry (the places listed with each back end below)
# may include a back end; everything else reaches the services through the
# core.
#
# A folder's floor is the first prefix in this list that its path begins
# with, so records/database and records/palette sit above records/.
set(floors
  "platform/desktop:1" "platform/null:1" "platform:0"
  "base:2"
  "input:3" "draw:3" "sound:3" "records/database:5" "records/palette:5" "records:3"
  "flow:4"
  "files:6"
  "scenes:7"
  "stage:8"
  "app:9"
  "tools:10" "bench:10" "tests:10")

# Each back end, and the folders besides itself that may include it.
set(backends
  "platform/desktop:app/main,bench,tests/platform/desktop,tests/app/desktop"
  "platform/null:app/main,tools,tests")

function(starts_with path folder out)
  string(LENGTH "${folder}/" len)
  string(SUBSTRING "${path}" 0 ${len} head)
  if(head STREQUAL "${folder}/")
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

# Sets out to the back end that inc belongs to when path may not include it.
function(backend_fault path inc out)
  set(${out} "" PARENT_SCOPE)
  foreach(entry ${backends})
    string(REPLACE ":" ";" pair ${entry})
    list(GET pair 0 backend)
    list(GET pair 1 users)
    starts_with("${inc}" ${backend} is_backend)
    if(NOT is_backend)
      continue()
    endif()
    string(REPLACE "," ";" users "${users}")
    foreach(allowed ${backend} ${users})
      starts_with("${path}" ${allowed} ok)
      if(ok)
        return()
      endif()
    endforeach()
    set(${out} ${backend} PARENT_SCOPE)
    return()
  endforeach()
endfunction()

function(floor_of path out_floor out_folder)
  foreach(entry ${floors})
    string(REPLACE ":" ";" pair ${entry})
    list(GET pair 0 folder)
    list(GET pair 1 level)
    string(LENGTH "${folder}/" len)
    string(SUBSTRING "${path}" 0 ${len} head)
    if(head STREQUAL "${folder}/")
      set(${out_floor} ${level} PARENT_SCOPE)
      set(${out_folder} ${folder} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out_floor} -1 PARENT_SCOPE)
  set(${out_folder} "" PARENT_SCOPE)
endfunction()

if(NOT ROOT)
  message(FATAL_ERROR "ROOT is not set")
endif()

file(GLOB_RECURSE files RELATIVE ${ROOT}
  ${ROOT}/platform/*.h ${ROOT}/platform/*.cpp ${ROOT}/base/*.h ${ROOT}/base/*.cpp
  ${ROOT}/input/*.h ${ROOT}/input/*.cpp ${ROOT}/draw/*.h ${ROOT}/draw/*.cpp
  ${ROOT}/sound/*.h ${ROOT}/sound/*.cpp ${ROOT}/records/*.h ${ROOT}/records/*.cpp
  ${ROOT}/flow/*.h ${ROOT}/flow/*.cpp ${ROOT}/files/*.h ${ROOT}/files/*.cpp
  ${ROOT}/scenes/*.h ${ROOT}/scenes/*.cpp ${ROOT}/stage/*.h ${ROOT}/stage/*.cpp
  ${ROOT}/app/*.h ${ROOT}/app/*.cpp ${ROOT}/tools/*.h ${ROOT}/tools/*.cpp
  ${ROOT}/bench/*.h ${ROOT}/bench/*.cpp ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp)

set(faults 0)
foreach(file ${files})
  floor_of(${file} from_floor from_folder)
  file(STRINGS ${ROOT}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*" "\\1" inc "${line}")
    backend_fault(${file} ${inc} backend)
    if(backend)
      message(SEND_ERROR "${file} includes ${inc}: only a program's entry may include ${backend}/")
      math(EXPR faults "${faults} + 1")
      continue()
    endif()
    floor_of(${inc} to_floor to_folder)
    # Programs at the top (tools, benchmarks, tests) are read for the
    # back-end rule alone: they may use each other's helpers.
    if(to_floor LESS 0 OR from_floor EQUAL 10)
      continue()
    endif()
    if(to_floor GREATER from_floor OR (to_floor EQUAL from_floor AND NOT to_folder STREQUAL from_folder))
      message(SEND_ERROR "${file} includes ${inc}: ${from_folder}/ (floor ${from_floor}) may not reach ${to_folder}/ (floor ${to_floor})")
      math(EXPR faults "${faults} + 1")
    endif()
  endforeach()
endforeach()

if(faults GREATER 0)
  message(FATAL_ERROR "${faults} include(s) run upward or into a back end")
endif()
message(STATUS "Every include runs down, and only programs reach a back end: ${ROOT}")
