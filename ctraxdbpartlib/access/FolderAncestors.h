#pragma once

// The one walk up a folder tree. Folders are kept by their parent's ID, so
// another tool can leave parents that lead round in a circle (two folders
// each other's parent); every walk up a tree goes through this function so
// that such a tree ends in an Exception instead of an endless loop.

#include "interface/HierarchyAccess.h"

#include <functional>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The deepest folder tree the plug-in writes: each level nests the writer
// of the next on the stack. Deeper chains of folders that carry no keys to
// tell them apart (records of a host's own library format) are taken for a
// cycle.
constexpr int MAX_FOLDER_DEPTH = 1000;

// Calls `visit` with each folder above `folder`, its parent first, up to a
// folder at the top. A folder met a second time (by ID; folders without an
// ID after MAX_FOLDER_DEPTH steps) raises an Exception naming it; nothing is
// visited twice.
void forEachAncestor(HierarchyAccess &folder, const std::function<void(HierarchyAccess &)> &visit);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
