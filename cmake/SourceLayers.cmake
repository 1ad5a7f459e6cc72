# The program's layers and which of its files need Qt, both read from the sources themselves,
# so that the build and the layer check (CheckLayers.cmake) can never disagree with the code.
#
# A file needs Qt when it includes a Qt header, or a header of the program that needs Qt. A
# .cpp that does not goes into the Qt-free engine library, one that does into the shell
# library; a new file, or one that gains or loses its Qt includes, is sorted again at the next
# build.
#
# The layers, lowest first. A file may include its own folder and the folders below it, never
# one above: the dialogs use only doc, res and platform, so that app, view and edit can all
# open them; platform knows nothing of the program.
set(QUILLET_LAYERS platform res doc dialogs edit view app)

# The folder (layer) of a path under src/, e.g. "view" for "view/CMyView.h".
function(quillet_layer_of path out)
  string(REGEX REPLACE "/.*" "" layer "${path}")
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# Reads the includes of file (an absolute path) once: the program's files it names (absolute
# paths: beside file first, as the compiler looks, then under root) and whether it names a Qt
# header itself.
function(_quillet_read root file)
  get_property(read GLOBAL PROPERTY "QUILLET_INCLUDES_READ:${file}" SET)
  if(read)
    return()
  endif()
  get_filename_component(dir "${file}" DIRECTORY)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  set(includes "")
  set(qt FALSE)
  foreach(line IN LISTS lines)
    string(REGEX MATCH "include[ \t]*([<\"])([^>\"]+)" _ "${line}")
    # Kept apart: the MATCHES below sets CMAKE_MATCH_<n> again.
    set(bracket "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    if(bracket STREQUAL "<" AND name MATCHES "^Qt?[A-Z]")
      set(qt TRUE)
    elseif(bracket STREQUAL "\"" AND EXISTS "${dir}/${name}")
      get_filename_component(found "${dir}/${name}" ABSOLUTE)
      list(APPEND includes "${found}")
    elseif(bracket STREQUAL "\"" AND EXISTS "${root}/${name}")
      list(APPEND includes "${root}/${name}")
    endif()
  endforeach()
  set_property(GLOBAL PROPERTY "QUILLET_INCLUDES_READ:${file}" TRUE)
  set_property(GLOBAL APPEND PROPERTY QUILLET_FILES_READ "${file}")
  set_property(GLOBAL PROPERTY "QUILLET_INCLUDES:${file}" "${includes}")
  set_property(GLOBAL PROPERTY "QUILLET_QT_DIRECT:${file}" ${qt})
endfunction()

# The program's files that file (an absolute path) includes, as absolute paths.
function(quillet_includes root file out)
  _quillet_read("${root}" "${file}")
  get_property(includes GLOBAL PROPERTY "QUILLET_INCLUDES:${file}")
  set(${out} "${includes}" PARENT_SCOPE)
endfunction()

# Whether file (an absolute path) reaches a Qt header, itself or through the files it
# includes; *via receives the chain that leads there ("a.cpp > b.h > Qt", paths under root),
# "" when it reaches none. A walk through every file it reaches, nearest first, so the chain
# is a shortest one.
function(quillet_reaches_qt root file out via)
  set(queue "${file}")
  set(seen "${file}")
  set_property(GLOBAL PROPERTY "QUILLET_WALK_FROM:${file}" "")
  while(queue)
    list(POP_FRONT queue at)
    _quillet_read("${root}" "${at}")
    get_property(direct GLOBAL PROPERTY "QUILLET_QT_DIRECT:${at}")
    if(direct)
      set(chain "Qt")
      get_filename_component(top "${root}" DIRECTORY)
      while(at)
        file(RELATIVE_PATH name "${root}" "${at}")
        if(name MATCHES "^\\.\\./")
          file(RELATIVE_PATH name "${top}" "${at}")
        endif()
        set(chain "${name} > ${chain}")
        get_property(at GLOBAL PROPERTY "QUILLET_WALK_FROM:${at}")
      endwhile()
      set(${out} TRUE PARENT_SCOPE)
      set(${via} "${chain}" PARENT_SCOPE)
      return()
    endif()
    get_property(includes GLOBAL PROPERTY "QUILLET_INCLUDES:${at}")
    foreach(inc IN LISTS includes)
      if(NOT inc IN_LIST seen)
        list(APPEND seen "${inc}")
        list(APPEND queue "${inc}")
        set_property(GLOBAL PROPERTY "QUILLET_WALK_FROM:${inc}" "${at}")
      endif()
    endforeach()
  endwhile()
  set(${out} FALSE PARENT_SCOPE)
  set(${via} "" PARENT_SCOPE)
endfunction()

# Sorts the .cpp files under root into those that need Qt and those that do not (paths under
# root); main.cpp, the program's entry, is in neither.
function(quillet_split_sources root engine_out shell_out)
  # A new or removed file sorts the lists again at the next build (not in script mode, where
  # nothing is built).
  set(again CONFIGURE_DEPENDS)
  if(CMAKE_SCRIPT_MODE_FILE)
    set(again "")
  endif()
  file(GLOB_RECURSE sources RELATIVE "${root}" ${again} "${root}/*.cpp")
  list(SORT sources)
  list(REMOVE_ITEM sources app/main.cpp)
  set(engine "")
  set(shell "")
  foreach(source IN LISTS sources)
    quillet_reaches_qt("${root}" "${root}/${source}" qt _)
    if(qt)
      list(APPEND shell "${source}")
    else()
      list(APPEND engine "${source}")
    endif()
  endforeach()
  if(NOT CMAKE_SCRIPT_MODE_FILE)
    # Every file the sorting read: an edit that adds or removes a Qt include sorts again at
    # the next build (a fraction of a second), so the lists are never stale.
    get_property(read GLOBAL PROPERTY QUILLET_FILES_READ)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${read})
  endif()
  set(${engine_out} "${engine}" PARENT_SCOPE)
  set(${shell_out} "${shell}" PARENT_SCOPE)
endfunction()
