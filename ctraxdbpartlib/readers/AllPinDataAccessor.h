#pragma once

#include "ctraxdbpartlib/readers/AllDetailAccessor.h"
#include "ctraxdbpartlib/readers/PinDataAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of a library: the part-definition ID, the pin's columns,
// [Pin_Data].[ID].
struct AllPinDataAccessor : AllDetailAccessor, PinColumns {
    int32_t id = 0;

    template <class Map> constexpr void bind(Map &map) {
        bindDetail(map);
        bindPin(map, 2);
        map.column(10, id);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
