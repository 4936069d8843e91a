#pragma once

#include "ctraxdbpartlib/readers/AllDetailAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of a library: the part-definition ID, [Pin_identifier], [Name],
// [Label], [Signal], [Pin_type], [Loading], [Pin_position], [Equiv_group],
// [Pin_Data].[ID]. [Signal] is bound 49 wide, so a longer signal arrives
// cut to 48 characters.
struct AllPinDataAccessor : AllDetailAccessor {
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
    int32_t id = 0;

    void bind(ColumnMap &map) {
        bindDetail(map);
        map.column(2, pinIdentifier, &pinIdentifierStatus);
        map.column(3, name, &nameStatus);
        map.column(4, label, &labelStatus);
        map.column(5, signal, &signalStatus);
        map.column(6, pinType, &pinTypeStatus);
        map.column(7, loading, &loadingStatus);
        map.column(8, pinPosition, &pinPositionStatus);
        map.column(9, equivGroup, &equivGroupStatus);
        map.column(10, id);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
