#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One row of [Hierarchy]: [Name], [Parent_ID], [ID], [Library_ID] and, for
// the joined statement only, the name of a part in the folder. The
// parameters are the library ID and, for the sub-folder statement, the
// parent folder ID (or, for the single-folder lookup, the folder ID).
struct HierarchyAccessor {
    TextBuffer<bufferWidth("Hierarchy", "Name")> name = {};
    int32_t parentId = 0;
    DBSTATUS parentIdStatus = DBSTATUS_S_OK;
    int32_t id = 0;
    int32_t libraryId = 0;
    TextBuffer<bufferWidth("Parts", "Name")> secondName = {};
    DBSTATUS secondNameStatus = DBSTATUS_S_ISNULL;

    int32_t param1 = 0;
    int32_t param2 = 0;

    // Not a column: the level of the folder in its tree (1 for a top
    // folder), kept by the folder writers.
    int level = 0;

protected:
    template <class Map> constexpr void bindFolder(Map &map) {
        map.column(1, name);
        map.column(2, parentId, &parentIdStatus);
        map.column(3, id);
        map.column(4, libraryId);
    }
};

// The root folders of a library, and the lookup of one folder by ID: one parameter.
struct HierarchyLibAccessor : HierarchyAccessor {
    template <class Map> constexpr void bind(Map &map) {
        bindFolder(map);
        map.param(1, param1);
    }
};

// The sub-folders of a folder: library ID, then parent ID. The folder
// reader also reads the top folders with it, binding the library ID only.
struct HierarchyHierAccessor : HierarchyAccessor {
    int paramCount = 2;

    template <class Map> constexpr void bind(Map &map) {
        bindFolder(map);
        map.param(1, param1);
        if (paramCount == 2)
            map.param(2, param2);
    }
};

// Every folder of a library joined with the names of its parts.
struct AllHierarchyAccessor : HierarchyAccessor {
    template <class Map> constexpr void bind(Map &map) {
        bindFolder(map);
        map.column(5, secondName, &secondNameStatus);
        map.param(1, param1);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
