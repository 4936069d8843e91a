#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin linked to a gate: [Pin_Data].[Pin_identifier]; the parameter is
// the gate's ID.
struct GateDataReadAccessor {
    TextBuffer<bufferWidth("Pin_Data", "Pin_identifier")> pinIdentifier = {};
    DBSTATUS pinIdentifierStatus = DBSTATUS_S_OK;

    int32_t parentId = 0;

    template <class Map> constexpr void bind(Map &map) {
        map.column(1, pinIdentifier, &pinIdentifierStatus);
        map.param(1, parentId);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
