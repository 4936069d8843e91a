# The layer check over small trees of its own: each include below is run
# through cmake/CheckLayers.cmake, and the check must pass or fail as given,
# naming the file, its line and the include when it fails.
#
#   cmake -DSOURCE_DIR=<source root> -DWORK_DIR=<scratch folder> -P check_layers_test.cmake

# One tree: FILE holds the line INCLUDE after a blank line; EXPECT is PASS
# or the text the failure must contain.
function(check_tree name file include expect)
  set(root ${WORK_DIR}/${name})
  file(REMOVE_RECURSE ${root})
  file(WRITE ${root}/${file} "// ${name}\n\n${include}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root} -DSTAMP=${root}/stamp
                          -P ${SOURCE_DIR}/cmake/CheckLayers.cmake
                  RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_QUIET)
  string(REGEX REPLACE "[ \n]+" " " errors "${errors}")
  if(expect STREQUAL "PASS")
    if(NOT status EQUAL 0 OR NOT EXISTS ${root}/stamp)
      message(SEND_ERROR "${name}: refused: ${errors}")
    endif()
  elseif(status EQUAL 0 OR NOT errors MATCHES "${expect}")
    message(SEND_ERROR "${name}: status ${status}, expected a failure with \"${expect}\": ${errors}")
  endif()
endfunction()

check_tree(core_includes_reader ctraxdbpartlib/TextUtil.cpp "#include \"ctraxdbpartlib/readers/DBRowReader.h\""
           "ctraxdbpartlib/TextUtil.cpp:3: the core layer includes \"ctraxdbpartlib/readers/DBRowReader.h\" of the higher records layer")
check_tree(connection_includes_writer ctraxdbpartlib/connection/CRowset.cpp
           "  #  include \"ctraxdbpartlib/writers/DBWriter.h\"" "connection layer includes .*writers/DBWriter.h")
check_tree(record_includes_tool ctraxdbpartlib/access/CTraxDBLibAccess.cpp "#include \"tools/partlib/Commands.h\""
           "higher tools layer")
check_tree(records_include_their_bases ctraxdbpartlib/connection/CTraxDBPathData.h
           "#include \"ctraxdbpartlib/access/DBAccess.h\"" PASS)
check_tree(connection_includes_error_records ctraxdbpartlib/CTraxDBError.cpp
           "#include \"ctraxdbpartlib/connection/CDBErrorInfo.h\"" PASS)
check_tree(reader_includes_connection ctraxdbpartlib/readers/CTraxDBLibReader.cpp
           "#include \"ctraxdbpartlib/connection/CTraxDBPath.h\"" PASS)
check_tree(entry_points_include_writers ctraxdbpartlib/CTraxDBPartLib.cpp
           "#include \"ctraxdbpartlib/writers/CTraxDBLibWriter.h\"" PASS)
check_tree(writer_includes_entry_points ctraxdbpartlib/writers/CTraxDBLibWriter.cpp
           "#include \"ctraxdbpartlib/CTraxDBPartLib.h\"" "writers layer includes .*of the higher exports layer")
