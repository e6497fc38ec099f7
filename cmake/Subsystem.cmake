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

# pomurina_subsystem(<name>): the folder's logic files become the static
# library pomurina_<name>; its window files (form1_*.cpp, form2_*.cpp) are
# handed up in <NAME>_WINDOW_SOURCES for the window-tier library.
function(pomurina_subsystem name)
  file(GLOB ALL_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # Window headers are listed too, so that their Q_OBJECT classes get moc'ed.
  file(GLOB WINDOW_HEADERS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/form*.h)
  set(LOGIC_SOURCES)
  set(WINDOW_SOURCES ${WINDOW_HEADERS})
  foreach(src ${ALL_SOURCES})
    get_filename_component(base ${src} NAME)
    if(base MATCHES "^form")
      list(APPEND WINDOW_SOURCES ${src})
    elseif(NOT base STREQUAL "main.cpp")
      list(APPEND LOGIC_SOURCES ${src})
    endif()
  endforeach()
  set(foundations pomurina_files pomurina_pictures pomurina_audio pomurina_desktop)
  if(LOGIC_SOURCES)
    add_library(pomurina_${name} STATIC ${LOGIC_SOURCES})
    target_link_libraries(pomurina_${name} PUBLIC ${foundations} ${ARGN})
  else()
    add_library(pomurina_${name} INTERFACE)
    target_link_libraries(pomurina_${name} INTERFACE ${foundations} ${ARGN})
  endif()
  string(TOUPPER ${name} upper)
  set(${upper}_WINDOW_SOURCES ${WINDOW_SOURCES} PARENT_SCOPE)
endfunction()
