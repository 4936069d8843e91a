#pragma once

// The row records of the writables that no reader has: the link tables and
// the rows a writable reads in another shape than the readers. The other
// writables use the readers' records.

#include "ctraxdbpartlib/connection/CAccessor.h"
#include "ctraxdbpartlib/readers/AttributeAccessor.h"
#include "ctraxdbpartlib/readers/GateSwapGateAccessor.h"
#include "ctraxdbpartlib/readers/PartDefAccessor.h"
#include "ctraxdbpartlib/readers/PinDataAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// [Gate_has_Pin_Data]: [ID], [Pin_data_ID], [Gate_ID]; the parameter is the
// gate's ID.
struct GatePinAccessor {
    int32_t id = 0;
    int32_t pinDataId = 0;
    int32_t gateId = 0;

    int32_t parentId = 0;

    void bind(ColumnMap &map) {
        map.column(1, id);
        map.column(2, pinDataId);
        map.column(3, gateId);
        map.param(1, parentId);
    }
};

// [Gate_Equiv_has_Pin_Data]: [Pin_data_ID], [Gate_equiv_gate_ID], [ID]; the
// parameter is the swap gate's ID.
struct SwapGatePinAccessor {
    int32_t pinDataId = 0;
    int32_t gateEquivGateId = 0;
    int32_t id = 0;

    int32_t parentId = 0;

    void bind(ColumnMap &map) {
        map.column(1, pinDataId);
        map.column(2, gateEquivGateId);
        map.column(3, id);
        map.param(1, parentId);
    }
};

// The pins of a definition that belong to no equivalence group:
// [Pin_identifier], [Equiv_group], [Part_def_ID], [ID]; the parameter is the
// part-definition ID.
struct UngroupedPinAccessor {
    TextBuffer<bufferWidth("Pin_Data", "Pin_identifier")> pinIdentifier = {};
    DBSTATUS pinIdentifierStatus = DBSTATUS_S_OK;
    int32_t equivGroup = 0;
    DBSTATUS equivGroupStatus = DBSTATUS_S_OK;
    int32_t partDefId = 0;
    int32_t id = 0;

    int32_t parentId = 0;

    void bind(ColumnMap &map) {
        map.column(1, pinIdentifier, &pinIdentifierStatus);
        map.column(2, equivGroup, &equivGroupStatus);
        map.column(3, partDefId);
        map.column(4, id);
        map.param(1, parentId);
    }
};

// A gate of a swap group as its writable holds it: the row of
// [Gate_Equiv_Gate] and, unbound, the key of the definition whose pins the
// gate's pins are.
struct SwapGateWriteAccessor : GateSwapGateAccessor {
    int32_t partDefId = 0;
};

// A key looked up by an integer, a name and, for three-parameter queries,
// a second integer: one [ID] column.
struct KeyLookupAccessor {
    int32_t id = 0;

    int32_t first = 0;
    TextBuffer<256> name = {};
    int32_t third = 0;
    int paramCount = 2;

    void bind(ColumnMap &map) {
        map.column(1, id);
        map.param(1, first);
        map.param(2, name);
        if (paramCount == 3)
            map.param(3, third);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
