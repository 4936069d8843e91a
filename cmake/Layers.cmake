# The layers of the plug-in, from the bottom up, and the files of each. A
# file may include its own layer and the ones below it, never one above;
# cmake/CheckLayers.cmake checks that on every build, and each layer links
# on its own with the layers below it only (CMakeLists.txt).
#
# The layers are finer than the folders where a folder holds something its
# layer's neighbours below need: the thread's error records, which the
# core's checkResult reads; the two templates over the interface that the
# connection's path data and its reader derive from; and the accessor of
# count statements, which the connection's runCount binds.
set(TXDB_LAYERS interface core hostservices bases connection filters records writers exports)

# Each rule is LAYER=REGEX over the path from the source root; the first
# rule that matches gives a file its layer.
set(TXDB_LAYER_RULES
    "interface=^interface/"
    "exports=^ctraxdbpartlib/CTraxDBPartLib\\.(h|cpp)$"
    "core=^ctraxdbpartlib/connection/CDBErrorInfo\\.(h|cpp)$"
    "bases=^ctraxdbpartlib/(access/DBAccess|readers/DBReader)\\.h$"
    "connection=^ctraxdbpartlib/readers/CountAccessor\\.h$"
    "hostservices=^(ctraxdbpartlib/)?hostservices/"
    "connection=^ctraxdbpartlib/connection/"
    "filters=^ctraxdbpartlib/filters/"
    "records=^ctraxdbpartlib/(readers|access)/"
    "writers=^ctraxdbpartlib/writers/"
    "core=^ctraxdbpartlib/[^/]+$")

# The layer of PATH (relative to the source root) in OUT, empty for a file
# outside the plug-in.
function(txdb_layer_of path out)
  foreach(rule IN LISTS TXDB_LAYER_RULES)
    string(FIND "${rule}" "=" at)
    string(SUBSTRING "${rule}" 0 ${at} layer)
    math(EXPR at "${at} + 1")
    string(SUBSTRING "${rule}" ${at} -1 regex)
    if(path MATCHES "${regex}")
      set(${out} ${layer} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

# The position of LAYER in TXDB_LAYERS in OUT.
function(txdb_layer_rank layer out)
  list(FIND TXDB_LAYERS ${layer} rank)
  set(${out} ${rank} PARENT_SCOPE)
endfunction()
