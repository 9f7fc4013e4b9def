# Compile flags shared by every target.
#
# Determinism: replays must reproduce, so no contraction of floating-point
# expressions, wrapping signed arithmetic as the original hardware did, and
# never -ffast-math.

add_library(brimvale_deps INTERFACE)
target_include_directories(brimvale_deps INTERFACE ${PROJECT_SOURCE_DIR})

function(brimvale_apply_flags target charset)
  target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off -fwrapv)
  if(charset STREQUAL "game")
    # Game code keeps text as Shift-JIS bytes: Japanese literals written in
    # UTF-8 become CP932 at run time.
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=CP932)
  endif()
  if(BRIMVALE_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

if(BRIMVALE_SANITIZE)
  target_link_options(brimvale_deps INTERFACE -fsanitize=address,undefined)
endif()

function(brimvale_collect_sources out dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/${dir}/*.cpp ${PROJECT_SOURCE_DIR}/${dir}/*.c)
  list(FILTER srcs EXCLUDE REGEX "/app/main/")
  if(NOT srcs)
    set(srcs ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

function(brimvale_game_library target dir)
  brimvale_collect_sources(srcs ${dir})
  # records/ holds records/palette and records/database: one library.
  add_library(${target} OBJECT ${srcs})
  brimvale_apply_flags(${target} game)
  target_link_libraries(${target} PUBLIC brimvale_deps)
endfunction()

function(brimvale_platform_library target dir)
  brimvale_collect_sources(srcs ${dir})
  add_library(${target} OBJECT ${srcs})
  brimvale_apply_flags(${target} platform)
  # The pixel engine runs optimised even in debug builds: frames must keep
  # their pace while the rest is being debugged.
  file(GLOB_RECURSE gfx CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/gfx/*.cpp)
  if(gfx)
    set_source_files_properties(${gfx} TARGET_DIRECTORY ${target} PROPERTIES COMPILE_OPTIONS "-O2")
  endif()
  target_link_libraries(${target} PUBLIC brimvale_deps)
endfunction()

target_link_libraries(brimvale_deps INTERFACE
  PkgConfig::SDL2 PkgConfig::GTK3 PkgConfig::FREETYPE PkgConfig::FONTCONFIG
  PkgConfig::VORBISFILE PkgConfig::FLUIDSYNTH Threads::Threads)
