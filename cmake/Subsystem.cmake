# SPDX-License-Identifier: GPL-3.0-or-later
# pomurina_folder_library(<folder> [NO_PCH] [LINKS <targets>...]): every .cpp
# of the folder becomes the static library pomurina_<folder>; headers of
# Q_OBJECT classes are listed too, so that they get moc'ed. Includes are
# spelled from src/ ("files/ini_file.h"). Every folder's library uses the one
# precompiled header of common Qt and standard headers (pomurina_pch), but for
# a folder whose flags would make the compiler refuse it (NO_PCH).
add_library(pomurina_pch STATIC ${CMAKE_SOURCE_DIR}/cmake/pch/game_pch.cpp)
set_target_properties(pomurina_pch PROPERTIES AUTOMOC OFF)
target_link_libraries(pomurina_pch PUBLIC Qt6::Widgets)
target_precompile_headers(pomurina_pch PRIVATE ${CMAKE_SOURCE_DIR}/cmake/pch/game_pch.h)

function(pomurina_folder_library folder)
  cmake_parse_arguments(ARG "NO_PCH" "" "LINKS;PRIVATE_LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(pomurina_${folder} STATIC ${sources})
  target_include_directories(pomurina_${folder} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  # Qt Widgets' flags for every folder, so that all of them match the
  # precompiled header's.
  target_link_libraries(pomurina_${folder} PUBLIC ${ARG_LINKS} PRIVATE ${ARG_PRIVATE_LINKS} Qt6::Widgets)
  if(NOT ARG_NO_PCH)
    target_precompile_headers(pomurina_${folder} REUSE_FROM pomurina_pch)
  endif()
endfunction()
