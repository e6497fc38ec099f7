# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the English translation is complete: lupdate is run over the
# sources into a copy of the .ts, and the copy must have no text left
# unfinished (a new or changed text of the sources) and none vanished (a text
# the sources no longer have). `cmake --build build --target
# update_translations` brings the .ts up to date; a translator then fills in
# what is new (Qt Linguist, or by hand) and marks it finished.
# Run: cmake -DLUPDATE=<lupdate> -DSRC=<src folder> -DTS=<.ts> -DWORK=<folder>
#            -DOPTIONS=<lupdate options> -P translations_complete.cmake
file(GLOB_RECURSE sources ${SRC}/*.cpp ${SRC}/*.h)
file(MAKE_DIRECTORY ${WORK})
list(JOIN sources "\n" listing)
file(WRITE ${WORK}/sources.lst "${listing}\n")
get_filename_component(name ${TS} NAME)
file(COPY_FILE ${TS} ${WORK}/${name})
execute_process(COMMAND ${LUPDATE} -silent ${OPTIONS} @${WORK}/sources.lst -ts ${WORK}/${name}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "lupdate failed (${result})")
endif()
file(READ ${WORK}/${name} ts)
string(REGEX MATCHALL "<source>[^<]*</source>[ \n]*<translation type=\"(unfinished|vanished|obsolete)\"" faults "${ts}")
list(LENGTH faults count)
if(count GREATER 0)
  string(REGEX REPLACE "[ \n]*<translation type=\"([a-z]+)\"" " (\\1)" faults "${faults}")
  string(REPLACE "<source>" "" faults "${faults}")
  string(REPLACE "</source>" "" faults "${faults}")
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "${name} is not up to date with the sources (${count} texts):\n  ${text}\n"
    "Run: cmake --build build --target update_translations, translate the new texts and mark them finished.")
endif()
string(REGEX MATCHALL "<message>" messages "${ts}")
list(LENGTH messages count)
message(STATUS "${name}: all ${count} texts translated")
