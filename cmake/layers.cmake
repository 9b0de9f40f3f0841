# One library per source folder, each linked to the folders below it alone:
#   document < formats < files, canvas, tables < app, convert
# (resources, the resource ids and the release number, is seen by all).
# A library compiles against a folder of links to its own folder and the
# ones below it, not against the source tree, so that an include that runs
# up a layer, or across to a neighbour, does not compile; and as a folder
# links only what lies below it, a call that runs up does not link.
# Source files whose name ends in _win32.cpp use the Win32 API and are built
# only for Windows; every other source file is plain logic and builds
# everywhere.
set(LAYER_VIEWS ${CMAKE_BINARY_DIR}/layers)

# quillon_layer(FOLDER [BELOW folder...] [EXCLUDE regex]): the library
# quillon_FOLDER. An empty folder (no plain sources natively) is an
# interface library that only passes its view and links on.
function(quillon_layer folder)
  cmake_parse_arguments(LAYER "" "EXCLUDE" "BELOW" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT WIN32)
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  endif()
  if(LAYER_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${LAYER_EXCLUDE}")
  endif()
  set(view ${LAYER_VIEWS}/${folder})
  file(MAKE_DIRECTORY ${view})
  foreach(seen ${folder} ${LAYER_BELOW} resources)
    if(NOT EXISTS ${view}/${seen})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${seen} ${view}/${seen} SYMBOLIC)
    endif()
  endforeach()
  set(target quillon_${folder})
  set(lower "")
  foreach(below ${LAYER_BELOW})
    list(APPEND lower quillon_${below})
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${view})
    target_link_libraries(${target} PUBLIC ${lower})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${view})
    target_link_libraries(${target} INTERFACE ${lower})
  endif()
endfunction()
