# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSAMPLE_DIR=<generated files> -DGAME_DIR=<folder of the built game> -P lay_out_game.cmake
# Puts the title, the logo and the help text beside the game every time, and
# the sample catalogue only into a game folder that holds no catalogue yet:
# faces a user added or deleted, and Library/, are never touched.
file(MAKE_DIRECTORY "${GAME_DIR}")
file(COPY "${SAMPLE_DIR}/title.bmp" "${SAMPLE_DIR}/logo.bmp" "${SAMPLE_DIR}/作品について.txt"
     DESTINATION "${GAME_DIR}")

# The game matches folder and file names without regard to letter case.
set(data_dir "${GAME_DIR}/data")
file(GLOB entries RELATIVE "${GAME_DIR}" "${GAME_DIR}/*")
foreach(entry IN LISTS entries)
  string(TOLOWER "${entry}" lower)
  if(lower STREQUAL "data" AND IS_DIRECTORY "${GAME_DIR}/${entry}")
    set(data_dir "${GAME_DIR}/${entry}")
  endif()
endforeach()

set(has_catalogue FALSE)
if(IS_DIRECTORY "${data_dir}")
  file(GLOB data_entries RELATIVE "${data_dir}" "${data_dir}/*")
  foreach(entry IN LISTS data_entries)
    string(TOLOWER "${entry}" lower)
    if(lower STREQUAL "facedata.ini" OR lower MATCHES "^face[0-9]+_[0-9]\\.jpg$")
      set(has_catalogue TRUE)
    endif()
  endforeach()
endif()

if(NOT has_catalogue)
  file(GLOB sample_files "${SAMPLE_DIR}/data/*")
  file(COPY ${sample_files} DESTINATION "${data_dir}")
endif()
