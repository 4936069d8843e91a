#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One row of [Part_Definition]: [Name], [PCB_component_name],
// [PCB_alternate_name], [Part_def_value], [Component_name_stem],
// [PSpice_data], [Max_connector_pins], [Gate_swapping], [Pin_num_name],
// [Is_FPGA], [Library_ID], [ID], with one integer parameter (a library or
// definition ID). Statements without a '?' switch the parameter off.
struct PartDefAccessor {
    char name[51] = {};
    char pcbCompName[51] = {};
    char pcbAltName[51] = {};
    DBSTATUS pcbAltNameStatus = DBSTATUS_S_OK;
    char value[256] = {};
    DBSTATUS valueStatus = DBSTATUS_S_OK;
    char compNameStem[21] = {};
    DBSTATUS compNameStemStatus = DBSTATUS_S_OK;
    char pSpice[81] = {};
    DBSTATUS pSpiceStatus = DBSTATUS_S_OK;
    int32_t maxConnectorPins = 0;
    // Not reported to callers; it only keeps a NULL from showing a stale value.
    DBSTATUS maxConnectorPinsStatus = DBSTATUS_S_OK;
    int16_t gateSwapping = 0;
    int16_t pinNumName = 0;
    int16_t isFPGA = 0;
    int32_t libraryId = 0;
    int32_t id = 0;

    int32_t parentId = 0;
    bool withParam = true;

    void bind(ColumnMap &map) {
        map.column(1, name);
        map.column(2, pcbCompName);
        map.column(3, pcbAltName, &pcbAltNameStatus);
        map.column(4, value, &valueStatus);
        map.column(5, compNameStem, &compNameStemStatus);
        map.column(6, pSpice, &pSpiceStatus);
        map.column(7, maxConnectorPins, &maxConnectorPinsStatus);
        map.column(8, gateSwapping);
        map.column(9, pinNumName);
        map.column(10, isFPGA);
        map.column(11, libraryId);
        map.column(12, id);
        if (withParam)
            map.param(1, parentId);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
