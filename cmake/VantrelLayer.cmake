# One static library per layer. Each layer sees an include tree of its own that holds only itself
# and the layers below it, so an include of a higher layer fails to compile instead of relying on
# discipline. Headers are included as "layer/File.h".
function(vantrel_add_layer name)
  cmake_parse_arguments(LAYER "" "" "SOURCES;LAYERS;LIBS" ${ARGN})
  set(tree ${CMAKE_BINARY_DIR}/layer-includes/${name})
  file(MAKE_DIRECTORY ${tree})
  foreach(visible IN LISTS name LAYER_LAYERS)
    if(NOT EXISTS ${tree}/${visible})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${visible} ${tree}/${visible} SYMBOLIC)
    endif()
  endforeach()

  add_library(vt_${name} STATIC ${LAYER_SOURCES})
  target_include_directories(vt_${name} PUBLIC ${tree})
  set(layer_libs)
  foreach(lower IN LISTS LAYER_LAYERS)
    list(APPEND layer_libs vt_${lower})
  endforeach()
  target_link_libraries(vt_${name} PUBLIC ${layer_libs} ${LAYER_LIBS})
endfunction()
