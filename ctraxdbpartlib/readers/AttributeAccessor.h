#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"
#include "ctraxdbpartlib/readers/TextWidths.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One row of [Attributes]: [Name], [Attribute_value], [Usage_type],
// [Read_Only], [Part_def_ID]; the parameter is the part-definition ID.
struct AttributeAccessor {
    TextBuffer<bufferWidth("Attributes", "Name")> name = {};
    TextBuffer<bufferWidth("Attributes", "Attribute_value")> value = {};
    int32_t usageType = 0;
    int32_t readOnly = 0;
    // Not reported to callers; a NULL [Read_Only] reads as 0.
    DBSTATUS readOnlyStatus = DBSTATUS_S_OK;
    int32_t partDefId = 0;

    int32_t parentId = 0;

    template <class Map> constexpr void bind(Map &map) {
        map.column(1, name);
        map.column(2, value);
        map.column(3, usageType);
        map.column(4, readOnly, &readOnlyStatus);
        map.column(5, partDefId);
        map.param(1, parentId);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
