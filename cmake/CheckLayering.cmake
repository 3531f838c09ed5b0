# Checks that includes follow the one-way dependencies of the README (run: cmake -DSRC=<src> -P).
# Static libraries do not stop a header from reaching up a layer, so this test does.
#   1. The headless core (model, sim, fdm) includes no scene graph, window or GL headers, and
#      nothing of the layers that draw, play or read devices.
#   2. In env only the terrain loader (and the scene-file reader it uses) reads the scene graph.
#   3. The graphics rooms: draw2d <- gui, scene, instruments <- views.
#   4. No hidden globals: outside the program's entry points and the application object, no .cpp
#      defines a mutable file-scope g_ variable; state belongs to the object that owns it and is
#      handed to whoever needs it.
set(failures "")

function(check_folder folder pattern why)
  file(GLOB_RECURSE files ${SRC}/${folder}/*.h ${SRC}/${folder}/*.cpp)
  foreach(file IN LISTS files)
    file(STRINGS ${file} hits REGEX "^#include ${pattern}")
    foreach(hit IN LISTS hits)
      file(RELATIVE_PATH name ${SRC} ${file})
      list(APPEND failures "src/${name}: ${hit} (${why})")
    endforeach()
  endforeach()
  set(failures "${failures}" PARENT_SCOPE)
endfunction()

set(drawing "[<\"](osg[A-Za-z]*/|OpenThreads/|SDL|GL/|AL/|X11/)")
set(upper "\"(gfx|app|input|sound|editor)/")
foreach(folder model sim fdm)
  check_folder(${folder} "${drawing}" "the headless core builds without them")
  check_folder(${folder} "${upper}" "the headless core does not reach up")
  check_folder(${folder} "\"env/(TerrainGeometry|SceneCache).h\"" "the terrain loader's scene graph side")
endforeach()
check_folder(model "\"(env|sim)/" "the flight model depends on core and data only")

file(GLOB env_files ${SRC}/env/*.h ${SRC}/env/*.cpp)
foreach(file IN LISTS env_files)
  get_filename_component(name ${file} NAME)
  if(NOT name MATCHES "^(CFlyWorld\\.cpp|TerrainGeometry\\.(h|cpp)|SceneCache\\.(h|cpp))$")
    file(STRINGS ${file} hits REGEX "^#include [<\"](osg|OpenThreads)")
    foreach(hit IN LISTS hits)
      list(APPEND failures "src/env/${name}: ${hit} (only the terrain loader reads the scene graph)")
    endforeach()
  endif()
endforeach()

check_folder(gfx/draw2d "\"gfx/(gui|scene|instruments|views)/" "draw2d is the bottom room")
check_folder(gfx/gui "\"gfx/(scene|instruments|views)/" "gui sees draw2d only")
check_folder(gfx/scene "\"gfx/(gui|instruments|views)/" "scene sees draw2d only")
check_folder(gfx/instruments "\"gfx/(gui|scene|views)/" "instruments see draw2d only")

# Code in this house starts file-scope definitions (anonymous namespaces included) in column 0.
# A const object, or a const pointer, is no state.
set(global_owners "app/main.cpp" "app/CMainKestro.cpp" "fdm/main.cpp")
file(GLOB_RECURSE sources ${SRC}/*.cpp)
foreach(file IN LISTS sources)
  file(RELATIVE_PATH name ${SRC} ${file})
  list(FIND global_owners ${name} owner)
  if(owner GREATER -1)
    continue()
  endif()
  file(STRINGS ${file} hits REGEX "^[A-Za-z_][^=(;]*([ *&:]|\\(\\*)g_[A-Za-z0-9_]+\\)? *(=|;|\\[|\\{|\\()")
  foreach(hit IN LISTS hits)
    if(hit MATCHES "^(static +)?(inline +)?constexpr " OR hit MATCHES "const +g_"
       OR (hit MATCHES "^(static +)?(inline +)?const " AND NOT hit MATCHES "\\*[^=]*g_")
       OR hit MATCHES "^(return|using|typedef) ")
      continue()
    endif()
    list(APPEND failures "src/${name}: ${hit} (mutable file-scope state: make it a member of its owner)")
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "Includes against the direction of the layers, or hidden globals:\n${text}")
endif()
message(STATUS "Includes follow the layers; no hidden globals")
