#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One row of [Library]: [Name], [ID], [Enabled], [Comment].
struct LibraryAccessor {
    TextBuffer<bufferWidth("Library", "Name")> name = {};
    int32_t id = 0;
    int32_t enabled = 0;
    TextBuffer<bufferWidth("Library", "Comment")> comment = {};
    DBSTATUS commentStatus = DBSTATUS_S_OK;

    template <class Map> constexpr void bind(Map &map) {
        map.column(1, name);
        map.column(2, id);
        map.column(3, enabled);
        map.column(4, comment, &commentStatus);
    }
};

// The same columns, as the hierarchy-only library record is built from.
struct LibHierarchyOnlyAccessor : LibraryAccessor {};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
