# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the includes between the folders of src/ run one way:
# main -> the screens (play, party, card, authoring, music, about) -> board, catalogue,
# detection -> pictures, audio -> files -> desktop. A file may include its own folder and
# any folder of a lower layer; never a folder of its own layer (the screens
# never include each other) or of a higher one (nothing includes main/).
# Run: cmake -DSRC=<src folder> -P include_arrows.cmake
set(layer_desktop 0)
set(layer_files 1)
set(layer_pictures 2)
set(layer_audio 2)
set(layer_board 3)
set(layer_detection 3)
set(layer_catalogue 3)
set(layer_play 4)
set(layer_party 4)
set(layer_card 4)
set(layer_authoring 4)
set(layer_music 4)
set(layer_about 4)
set(layer_main 5)

get_filename_component(SRC ${SRC} ABSOLUTE)
file(GLOB_RECURSE sources RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
set(faults)
foreach(source ${sources})
  string(REGEX REPLACE "/.*" "" folder ${source})
  if(NOT DEFINED layer_${folder})
    list(APPEND faults "${source}: the folder ${folder} has no layer")
    continue()
  endif()
  file(STRINGS ${SRC}/${source} includes REGEX "^#include \"[a-z_]+/")
  foreach(line ${includes})
    string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" target ${line})
    if(target STREQUAL folder)
      continue()
    endif()
    if(NOT DEFINED layer_${target} OR NOT layer_${target} LESS layer_${folder})
      list(APPEND faults "${source}: ${line}")
    endif()
  endforeach()
endforeach()

list(LENGTH sources checked)
if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "includes against the arrows:\n  ${text}")
endif()
message(STATUS "${checked} files of src/ include only along the arrows")
