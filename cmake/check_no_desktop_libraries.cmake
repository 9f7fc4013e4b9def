# Fails when a program that must run without a display loads a desktop
# library (SDL2, GTK3, FluidSynth, which itself loads SDL2), as ldd lists
# what a program loads.
#   cmake -DPROGRAMS="a|b|c" -DDESKTOP_PROGRAM=<program> -P cmake/check_no_desktop_libraries.cmake
# DESKTOP_PROGRAM is one that does load them: seeing them there shows that
# the check can see them at all.

cmake_minimum_required(VERSION 3.25)

set(desktop_libraries "libSDL2" "libgtk-3" "libfluidsynth")

if(NOT PROGRAMS OR NOT DESKTOP_PROGRAM)
  message(FATAL_ERROR "PROGRAMS and DESKTOP_PROGRAM must be set")
endif()
find_program(LDD ldd REQUIRED)

function(loaded_libraries program out)
  execute_process(COMMAND ${LDD} ${program} OUTPUT_VARIABLE listing ERROR_VARIABLE errors
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "ldd ${program} failed: ${errors}")
  endif()
  set(${out} "${listing}" PARENT_SCOPE)
endfunction()

function(desktop_libraries_in listing out)
  set(found)
  foreach(lib ${desktop_libraries})
    string(FIND "${listing}" "${lib}" at)
    if(NOT at EQUAL -1)
      list(APPEND found ${lib})
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

loaded_libraries(${DESKTOP_PROGRAM} listing)
desktop_libraries_in("${listing}" found)
if(NOT "libSDL2" IN_LIST found OR NOT "libgtk-3" IN_LIST found)
  message(FATAL_ERROR "${DESKTOP_PROGRAM} shows no desktop library (found: ${found}); the check sees nothing")
endif()

string(REPLACE "|" ";" programs "${PROGRAMS}")
set(faults 0)
foreach(program ${programs})
  loaded_libraries(${program} listing)
  desktop_libraries_in("${listing}" found)
  if(found)
    message(SEND_ERROR "${program} loads ${found}")
    math(EXPR faults "${faults} + 1")
  endif()
endforeach()

if(faults GREATER 0)
  message(FATAL_ERROR "${faults} program(s) that must run without a display load a desktop library")
endif()
list(LENGTH programs count)
message(STATUS "${count} programs load no desktop library")
