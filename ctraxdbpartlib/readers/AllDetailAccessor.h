#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// What the accessors of the library-wide detail queries share: the
// part-definition ID in column 1, and the one parameter (a library ID or a
// part-definition ID), bound only when the statement has its marker (a
// statement over a filter text has none).
struct AllDetailAccessor {
    int32_t partDefId = 0;

    int32_t parentId = 0;
    bool hasParameter = true;

protected:
    template <class Map> constexpr void bindDetail(Map &map) {
        map.column(1, partDefId);
        if (hasParameter)
            map.param(1, parentId);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
