#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of an equivalence group: [Pin_identifier], [Equiv_group]; the
// parameter is the group's ID.
struct PinEquivDataAccessor {
    TextBuffer<bufferWidth("Pin_Data", "Pin_identifier")> pinIdentifier = {};
    DBSTATUS pinIdentifierStatus = DBSTATUS_S_OK;
    int32_t equivGroup = 0;
    DBSTATUS equivGroupStatus = DBSTATUS_S_OK;

    int32_t parentId = 0;

    template <class Map> constexpr void bind(Map &map) {
        map.column(1, pinIdentifier, &pinIdentifierStatus);
        map.column(2, equivGroup, &equivGroupStatus);
        map.param(1, parentId);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
