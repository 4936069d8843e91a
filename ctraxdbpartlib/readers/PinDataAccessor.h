#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One row of [Pin_Data]: [Pin_identifier], [Name], [Label], [Signal],
// [Pin_type], [Loading], [Pin_position], [Equiv_group], [Part_def_ID],
// [ID]; the parameter is the part-definition ID. [Signal] is bound 49 wide,
// so a longer signal arrives cut to 48 characters.
struct PinDataAccessor {
    char pinIdentifier[11] = {};
    DBSTATUS pinIdentifierStatus = DBSTATUS_S_OK;
    char name[11] = {};
    DBSTATUS nameStatus = DBSTATUS_S_OK;
    char label[51] = {};
    DBSTATUS labelStatus = DBSTATUS_S_OK;
    char signal[49] = {};
    DBSTATUS signalStatus = DBSTATUS_S_OK;
    int32_t pinType = 0;
    DBSTATUS pinTypeStatus = DBSTATUS_S_OK;
    int32_t loading = 0;
    DBSTATUS loadingStatus = DBSTATUS_S_OK;
    int32_t pinPosition = 0;
    DBSTATUS pinPositionStatus = DBSTATUS_S_OK;
    int32_t equivGroup = 0;
    DBSTATUS equivGroupStatus = DBSTATUS_S_OK;
    int32_t partDefId = 0;
    int32_t id = 0;

    int32_t parentId = 0;

    void bind(ColumnMap &map) {
        map.column(1, pinIdentifier, &pinIdentifierStatus);
        map.column(2, name, &nameStatus);
        map.column(3, label, &labelStatus);
        map.column(4, signal, &signalStatus);
        map.column(5, pinType, &pinTypeStatus);
        map.column(6, loading, &loadingStatus);
        map.column(7, pinPosition, &pinPositionStatus);
        map.column(8, equivGroup, &equivGroupStatus);
        map.column(9, partDefId);
        map.column(10, id);
        map.param(1, parentId);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
