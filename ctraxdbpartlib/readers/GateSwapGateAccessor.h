#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One row of [Gate_Equiv_Gate]: [ID], [Gate_equiv_ID], [Equiv_type]; the
// parameter is the swap group's ID.
struct GateSwapGateAccessor {
    int32_t id = 0;
    int32_t gateEquivId = 0;
    int32_t equivType = 0;

    int32_t parentId = 0;

    template <class Map> constexpr void bind(Map &map) {
        map.column(1, id);
        map.column(2, gateEquivId);
        map.column(3, equivType);
        map.param(1, parentId);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
