# Compile flags shared by every target, and the helpers that make one library
# per source folder.
#
# Determinism: replays must reproduce, so no contraction of floating-point
# expressions, wrapping signed arithmetic as the original hardware did, and
# never -ffast-math.

add_library(brimvale_deps INTERFACE)
target_include_directories(brimvale_deps INTERFACE ${PROJECT_SOURCE_DIR})
target_link_libraries(brimvale_deps INTERFACE Threads::Threads)
if(BRIMVALE_SANITIZE)
  target_link_options(brimvale_deps INTERFACE -fsanitize=address,undefined)
endif()
if(BRIMVALE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "BRIMVALE_FUZZ needs clang (libFuzzer comes with it): see scripts/fuzz")
  endif()
  target_link_options(brimvale_deps INTERFACE -fsanitize=address,undefined)
endif()

function(brimvale_apply_flags target charset)
  # Nothing is compiled before the layer check has passed.
  add_dependencies(${target} brimvale_layers)
  target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off -fwrapv)
  if(charset STREQUAL "game" AND NOT BRIMVALE_FUZZ)
    # Game code keeps text as Shift-JIS bytes: Japanese literals written in
    # UTF-8 become CP932 at run time. (clang knows no other execution
    # character set than UTF-8: the fuzz build keeps its literals in UTF-8,
    # which changes no byte a loader reads from a file.)
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
  endif()
  if(BRIMVALE_FUZZ)
    # Coverage for the fuzzer in every library; the sanitizers turn a
    # memory fault or undefined behaviour into a finding.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                           -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  endif()
  if(BRIMVALE_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Sources of the given folders and their sub-folders.
function(brimvale_collect_sources out dirs)
  set(all)
  foreach(dir ${dirs})
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp ${PROJECT_SOURCE_DIR}/${dir}/*.c)
    list(APPEND all ${srcs})
  endforeach()
  list(FILTER all EXCLUDE REGEX "/app/main/")
  if(NOT all)
    set(all ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  set(${out} ${all} PARENT_SCOPE)
endfunction()

# brimvale_game_library(target "dir[;dir]" "lower;libraries")
function(brimvale_game_library target dirs lower)
  brimvale_collect_sources(srcs "${dirs}")
  add_library(${target} STATIC ${srcs})
  brimvale_apply_flags(${target} game)
  target_link_libraries(${target} PUBLIC ${lower} brimvale_deps)
endfunction()

# The platform core: everything under platform/ but the back-end folders.
# It links no windowing, dialog or synthesiser library, so a program built on
# it alone runs where there is no display.
set(BRIMVALE_BACKEND_DIRS platform/desktop platform/null)

function(brimvale_platform_library target dir)
  brimvale_collect_sources(srcs ${dir})
  foreach(backend ${BRIMVALE_BACKEND_DIRS})
    list(FILTER srcs EXCLUDE REGEX "^${PROJECT_SOURCE_DIR}/${backend}/")
  endforeach()
  add_library(${target} STATIC ${srcs})
  brimvale_apply_flags(${target} platform)
  # The pixel engine runs optimised even in debug builds: frames must keep
  # their pace while the rest is being debugged.
  file(GLOB_RECURSE gfx CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/gfx/*.cpp)
  if(gfx)
    set_source_files_properties(${gfx} TARGET_DIRECTORY ${target} PROPERTIES COMPILE_OPTIONS "-O2")
  endif()
  # Text is rendered with FreeType from fonts fontconfig finds: neither
  # needs a display.
  target_link_libraries(${target} PUBLIC brimvale_deps PkgConfig::VORBISFILE PkgConfig::SAMPLERATE
                        ZLIB::ZLIB PkgConfig::FREETYPE PkgConfig::FONTCONFIG)
endfunction()

# brimvale_platform_backend(target dir [libraries...]): one back end over the
# core, with the outside libraries it alone needs.
function(brimvale_platform_backend target dir)
  brimvale_collect_sources(srcs ${dir})
  add_library(${target} STATIC ${srcs})
  brimvale_apply_flags(${target} platform)
  target_link_libraries(${target} PUBLIC brimvale_platform ${ARGN})
endfunction()
