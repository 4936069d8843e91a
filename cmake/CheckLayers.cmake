# Fails when a file of the plug-in includes a file of a higher layer
# (cmake/Layers.cmake), naming the file, its line and the include; an
# include of tools/ counts as higher than every layer. Writes STAMP when
# every include is in order.
#
#   cmake -DSOURCE_DIR=<source root> -DSTAMP=<file> -P cmake/CheckLayers.cmake

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/ctraxdbpartlib/*.h ${SOURCE_DIR}/ctraxdbpartlib/*.cpp)
list(SORT files)
set(faults 0)
foreach(file IN LISTS files)
  txdb_layer_of(${file} layer)
  txdb_layer_rank(${layer} rank)
  file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" included "${line}")
    if(included MATCHES "^tools/")
      set(included_layer tools)
      set(included_rank 1000)
    else()
      txdb_layer_of(${included} included_layer)
      if(included_layer STREQUAL "")
        continue()
      endif()
      txdb_layer_rank(${included_layer} included_rank)
    endif()
    if(included_rank GREATER rank)
      # The line number, for the message only.
      file(STRINGS ${SOURCE_DIR}/${file} all_lines)
      list(FIND all_lines "${line}" index)
      math(EXPR number "${index} + 1")
      message(SEND_ERROR "${file}:${number}: the ${layer} layer includes \"${included}\" of the higher "
                         "${included_layer} layer")
      math(EXPR faults "${faults} + 1")
    endif()
  endforeach()
endforeach()
if(faults GREATER 0)
  message(FATAL_ERROR "layer check: ${faults} include(s) of a higher layer (layers: cmake/Layers.cmake)")
endif()
list(LENGTH files count)
file(WRITE ${STAMP} "${count} files in layer order\n")
