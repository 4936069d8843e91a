#pragma once

#include "ctraxdbpartlib/readers/AllDetailAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One gate and one of its pins: the part-definition ID, [Gate].[Name],
// [Gate].[Alt_name], [Gate].[ID], [Pin_Data].[Pin_identifier] (NULL for a
// gate without pins).
struct AllGateAccessor : AllDetailAccessor {
    TextBuffer<bufferWidth("Gate", "Name")> name = {};
    TextBuffer<bufferWidth("Gate", "Alt_name")> altName = {};
    DBSTATUS altNameStatus = DBSTATUS_S_OK;
    int32_t id = 0;
    TextBuffer<bufferWidth("Pin_Data", "Pin_identifier")> pinIdentifier = {};
    DBSTATUS pinIdentifierStatus = DBSTATUS_S_OK;

    template <class Map> constexpr void bind(Map &map) {
        bindDetail(map);
        map.column(2, name);
        map.column(3, altName, &altNameStatus);
        map.column(4, id);
        map.column(5, pinIdentifier, &pinIdentifierStatus);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
