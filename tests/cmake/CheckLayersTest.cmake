# The layer check run on small trees, each broken in one way, and what it must say of each.
#
#   cmake -DCHECKER=<cmake/CheckLayers.cmake> -DWORK=<an empty folder> -P CheckLayersTest.cmake
cmake_minimum_required(VERSION 3.25)

set(tree "${WORK}/tree")
set(failures "")

# A tree that keeps its layers: view over doc over platform, one Qt file in platform and an
# engine test beside them.
function(fresh)
  file(REMOVE_RECURSE "${tree}")
  file(WRITE "${tree}/src/platform/Base.h" "#pragma once\n")
  file(WRITE "${tree}/src/platform/Base.cpp" "#include \"platform/Base.h\"\n")
  file(WRITE "${tree}/src/platform/QtBit.h" "#pragma once\n#include <QString>\n")
  file(WRITE "${tree}/src/platform/QtBit.cpp" "#include \"platform/QtBit.h\"\n")
  file(WRITE "${tree}/src/doc/Model.h" "#pragma once\n#include \"platform/Base.h\"\n")
  file(WRITE "${tree}/src/doc/Model.cpp" "#include \"doc/Model.h\"\n")
  file(WRITE "${tree}/src/view/Window.h" "#pragma once\n#include <QWidget>\n")
  file(WRITE "${tree}/src/view/Window.cpp"
       "#include \"view/Window.h\"\n#include \"doc/Model.h\"\n#include \"platform/QtBit.h\"\n")
  file(WRITE "${tree}/tests/doc/ModelTest.cpp" "#include \"doc/Model.h\"\n")
  file(WRITE "${tree}/README.md" "\
| Folder | Includes | Needs Qt | Holds |
|---|---|---|---|
| `src/view/` | doc, platform | all | windows |
| `src/doc/` | platform | none | models |
| `src/platform/` | nothing | QtBit | services |
")
endfunction()

function(add_line path line)
  file(APPEND "${tree}/${path}" "${line}\n")
endfunction()

function(readme_says from to)
  file(READ "${tree}/README.md" text)
  string(REPLACE "${from}" "${to}" text "${text}")
  file(WRITE "${tree}/README.md" "${text}")
endfunction()

# The check of the tree as it is now must pass (ok) or fail, saying `said` (a regex).
function(expect name outcome said)
  execute_process(COMMAND ${CMAKE_COMMAND} -DQUILLET_SOURCE_DIR=${tree} -P ${CHECKER}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(outcome STREQUAL "ok")
    set(right FALSE)
    if(rc EQUAL 0)
      set(right TRUE)
    endif()
  else()
    set(right TRUE)
    if(rc EQUAL 0)
      set(right FALSE)
    endif()
  endif()
  if(NOT right OR NOT out MATCHES "${said}")
    set(failures "${failures}\n${name}: exit ${rc}, said:\n${out}" PARENT_SCOPE)
  endif()
endfunction()

fresh()
expect("kept" ok "layers kept: 8 files of src/")

fresh()
add_line(src/doc/Model.cpp "#include \"view/Window.h\"")
expect("upward" fails "src/doc/Model.cpp includes view/Window.h: view/ is above doc/")

fresh()
add_line(src/doc/Model.cpp "#include <QList>")
expect("engine .cpp gains Qt" fails
       "tests/doc/ModelTest.cpp is built without Qt but uses doc/Model.h, whose doc/Model.cpp needs Qt")

fresh()
add_line(tests/doc/ModelTest.cpp "#include \"platform/QtBit.h\"")
expect("engine test reaches Qt" fails
       "tests/doc/ModelTest.cpp is built without Qt but reaches it: tests/doc/ModelTest.cpp > platform/QtBit.h > Qt")

# A header beside the test is found first, as the compiler finds it.
fresh()
file(WRITE "${tree}/tests/doc/Support.h" "#include <QObject>\n")
file(WRITE "${tree}/src/doc/Support.h" "#pragma once\n")
add_line(tests/doc/ModelTest.cpp "#include \"Support.h\"")
expect("beside the test" fails "ModelTest.cpp > tests/doc/Support.h > Qt")

# Qt reached through two headers that include each other.
fresh()
file(WRITE "${tree}/src/platform/A.h" "#pragma once\n#include \"platform/B.h\"\n")
file(WRITE "${tree}/src/platform/B.h" "#pragma once\n#include \"platform/A.h\"\n#include <QtGlobal>\n")
add_line(src/platform/Base.h "#include \"platform/A.h\"")
expect("through a cycle" fails "in src/doc/ these need Qt: Model\\. These do not: \\. The map says: none")

fresh()
readme_says("| `src/platform/` | nothing | QtBit |" "| `src/platform/` | nothing | none |")
expect("map misses a Qt file" fails "in src/platform/ these need Qt: QtBit\\. These do not: Base")

fresh()
readme_says("| `src/view/` | doc, platform | all |" "| `src/view/` | doc, platform | Win* |")
expect("a pattern" ok "layers kept")

fresh()
readme_says("| `src/doc/` | platform |" "| `src/doc/` | nothing |")
expect("map misses an include" fails "src/doc/ includes platform, the map says: nothing")

fresh()
file(WRITE "${tree}/src/extra/X.h" "#pragma once\n")
expect("folder in no layer" fails "src/extra/X.h: its folder extra/ is in no layer")

fresh()
readme_says("| `src/doc/` | platform | none | models |\n" "")
expect("folder with no row" fails "src/doc/Model.h: no row of the map in README.md holds its folder")

if(failures)
  message(FATAL_ERROR "the layer check went wrong:${failures}")
endif()
message(STATUS "the layer check said the right thing of every tree")
