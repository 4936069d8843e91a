#pragma once

#include "ctraxdbpartlib/readers/AllDetailAccessor.h"
#include "ctraxdbpartlib/readers/TextWidths.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One attribute: the part-definition ID, [Name], [Attribute_value],
// [Usage_type], [Read_Only]. [Read_Only] has no status: a NULL reads as 0.
struct AllAttributeAccessor : AllDetailAccessor {
    TextBuffer<bufferWidth("Attributes", "Name")> name = {};
    TextBuffer<bufferWidth("Attributes", "Attribute_value")> value = {};
    int32_t usageType = 0;
    int32_t readOnly = 0;

    template <class Map> constexpr void bind(Map &map) {
        bindDetail(map);
        map.column(2, name);
        map.column(3, value);
        map.column(4, usageType);
        map.column(5, readOnly);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
