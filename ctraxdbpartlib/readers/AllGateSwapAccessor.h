#pragma once

#include "ctraxdbpartlib/readers/AllDetailAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of one gate of a gate-swap group: the part-definition ID,
// [Gate_Equiv].[Name], [Gate_Equiv].[ID], [Gate_Equiv_Gate].[Equiv_type],
// [Gate_Equiv_Gate].[ID], [Gate_Equiv_has_Pin_Data].[ID],
// [Pin_Data].[Pin_identifier].
struct AllGateSwapAccessor : AllDetailAccessor {
    TextBuffer<bufferWidth("Gate_Equiv", "Name")> name = {};
    int32_t id = 0;
    int32_t equivType = 0;
    int32_t gateEquivGateId = 0;
    int32_t gateEquivPinId = 0;
    TextBuffer<bufferWidth("Pin_Data", "Pin_identifier")> pinIdentifier = {};
    DBSTATUS pinIdentifierStatus = DBSTATUS_S_OK;

    template <class Map> constexpr void bind(Map &map) {
        bindDetail(map);
        map.column(2, name);
        map.column(3, id);
        map.column(4, equivType);
        map.column(5, gateEquivGateId);
        map.column(6, gateEquivPinId);
        map.column(7, pinIdentifier, &pinIdentifierStatus);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
