#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One row of [Pin_Equiv]: [ID], [Part_def_ID]; the parameter is the
// part-definition ID.
struct PinEquivAccessor {
    int32_t id = 0;
    int32_t partDefId = 0;

    int32_t parentId = 0;

    template <class Map> constexpr void bind(Map &map) {
        map.column(1, id);
        map.column(2, partDefId);
        map.param(1, parentId);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
