#pragma once

#include "ctraxdbpartlib/readers/AllDetailAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of a pin-equivalence group: the part-definition ID,
// [Pin_Equiv].[ID], [Pin_Data].[Pin_identifier].
struct AllPinEquivAccessor : AllDetailAccessor {
    int32_t pinEquivId = 0;
    TextBuffer<bufferWidth("Pin_Data", "Pin_identifier")> pinIdentifier = {};
    DBSTATUS pinIdentifierStatus = DBSTATUS_S_OK;

    template <class Map> constexpr void bind(Map &map) {
        bindDetail(map);
        map.column(2, pinEquivId);
        map.column(3, pinIdentifier, &pinIdentifierStatus);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
