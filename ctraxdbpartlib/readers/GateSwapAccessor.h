#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One row of [Gate_Equiv]: [ID], [Name], [Part_def_ID]; the parameter is
// the part-definition ID.
struct GateSwapAccessor {
    int32_t id = 0;
    TextBuffer<bufferWidth("Gate_Equiv", "Name")> name = {};
    int32_t partDefId = 0;

    int32_t parentId = 0;

    template <class Map> constexpr void bind(Map &map) {
        map.column(1, id);
        map.column(2, name);
        map.column(3, partDefId);
        map.param(1, parentId);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
