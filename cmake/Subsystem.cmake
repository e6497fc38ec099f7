# SPDX-License-Identifier: GPL-3.0-or-later
# pomurina_folder_library(<folder> [LINKS <targets>...]): every .cpp of the
# folder becomes the static library pomurina_<folder>; headers of Q_OBJECT
# classes are listed too, so that they get moc'ed. Includes are spelled from
# src/ ("files/ini_file.h").
function(pomurina_folder_library folder)
  cmake_parse_arguments(ARG "" "" "LINKS;PRIVATE_LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(pomurina_${folder} STATIC ${sources})
  target_include_directories(pomurina_${folder} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(pomurina_${folder} PUBLIC ${ARG_LINKS} PRIVATE ${ARG_PRIVATE_LINKS})
endfunction()
