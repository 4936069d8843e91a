#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"
#include "ctraxdbpartlib/readers/TextWidths.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The columns of a pin, in the order every pin query selects them:
// [Pin_identifier], [Name], [Label], [Signal], [Pin_type], [Loading],
// [Pin_position], [Equiv_group], each with its status, every text at its
// column's full width.
struct PinColumns {
    TextBuffer<bufferWidth("Pin_Data", "Pin_identifier")> pinIdentifier = {};
    DBSTATUS pinIdentifierStatus = DBSTATUS_S_OK;
    TextBuffer<bufferWidth("Pin_Data", "Name")> name = {};
    DBSTATUS nameStatus = DBSTATUS_S_OK;
    TextBuffer<bufferWidth("Pin_Data", "Label")> label = {};
    DBSTATUS labelStatus = DBSTATUS_S_OK;
    TextBuffer<bufferWidth("Pin_Data", "Signal")> signal = {};
    DBSTATUS signalStatus = DBSTATUS_S_OK;
    int32_t pinType = 0;
    DBSTATUS pinTypeStatus = DBSTATUS_S_OK;
    int32_t loading = 0;
    DBSTATUS loadingStatus = DBSTATUS_S_OK;
    int32_t pinPosition = 0;
    DBSTATUS pinPositionStatus = DBSTATUS_S_OK;
    int32_t equivGroup = 0;
    DBSTATUS equivGroupStatus = DBSTATUS_S_OK;

protected:
    // Binds the eight columns from ordinal `first` on.
    template <class Map> constexpr void bindPin(Map &map, int first) {
        map.column(first, pinIdentifier, &pinIdentifierStatus);
        map.column(first + 1, name, &nameStatus);
        map.column(first + 2, label, &labelStatus);
        map.column(first + 3, signal, &signalStatus);
        map.column(first + 4, pinType, &pinTypeStatus);
        map.column(first + 5, loading, &loadingStatus);
        map.column(first + 6, pinPosition, &pinPositionStatus);
        map.column(first + 7, equivGroup, &equivGroupStatus);
    }
};

// One row of [Pin_Data]: the pin's columns, [Part_def_ID], [ID]; the
// parameter is the part-definition ID.
struct PinDataAccessor : PinColumns {
    int32_t partDefId = 0;
    int32_t id = 0;

    int32_t parentId = 0;

    template <class Map> constexpr void bind(Map &map) {
        bindPin(map, 1);
        map.column(9, partDefId);
        map.column(10, id);
        map.param(1, parentId);
    }
};

// The pins of one part definition, in the rows of PinDataAccessor, by key:
// the query of the pin readers and of the pin writable, which a library's
// read-ahead answers.
inline constexpr const char *SELECT_DEFINITION_PINS =
    "SELECT [Pin_identifier],[Name],[Label],[Signal],[Pin_type],[Loading],[Pin_position],[Equiv_group],[Part_def_ID],"
    "[ID] FROM [Pin_Data] WHERE [Part_def_ID] = ? ORDER BY([ID]);";

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
