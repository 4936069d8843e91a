#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"
#include "ctraxdbpartlib/readers/TextWidths.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// A part definition's own columns, in the order every definition query
// selects them: [Name], [PCB_component_name], [PCB_alternate_name],
// [Part_def_value], [Component_name_stem], [PSpice_data],
// [Max_connector_pins], [Gate_swapping], [Pin_num_name], [Is_FPGA], every
// text at its column's full width.
struct PartDefColumns {
    TextBuffer<bufferWidth("Part_Definition", "Name")> name = {};
    TextBuffer<bufferWidth("Part_Definition", "PCB_component_name")> pcbCompName = {};
    TextBuffer<bufferWidth("Part_Definition", "PCB_alternate_name")> pcbAltName = {};
    DBSTATUS pcbAltNameStatus = DBSTATUS_S_OK;
    TextBuffer<bufferWidth("Part_Definition", "Part_def_value")> value = {};
    DBSTATUS valueStatus = DBSTATUS_S_OK;
    TextBuffer<bufferWidth("Part_Definition", "Component_name_stem")> compNameStem = {};
    DBSTATUS compNameStemStatus = DBSTATUS_S_OK;
    TextBuffer<bufferWidth("Part_Definition", "PSpice_data")> pSpice = {};
    DBSTATUS pSpiceStatus = DBSTATUS_S_OK;
    int32_t maxConnectorPins = 0;
    int16_t gateSwapping = 0;
    int16_t pinNumName = 0;
    int16_t isFPGA = 0;

    // Binds the ten columns from ordinal `first` on; [Max_connector_pins]
    // with `maxConnectorPinsStatus` where the caller keeps one.
    template <class Map>
    constexpr void bindDefinition(Map &map, int first, DBSTATUS *maxConnectorPinsStatus = nullptr) {
        map.column(first, name);
        map.column(first + 1, pcbCompName);
        map.column(first + 2, pcbAltName, &pcbAltNameStatus);
        map.column(first + 3, value, &valueStatus);
        map.column(first + 4, compNameStem, &compNameStemStatus);
        map.column(first + 5, pSpice, &pSpiceStatus);
        map.column(first + 6, maxConnectorPins, maxConnectorPinsStatus);
        map.column(first + 7, gateSwapping);
        map.column(first + 8, pinNumName);
        map.column(first + 9, isFPGA);
    }
};

// One row of [Part_Definition]: the definition's columns, [Library_ID],
// [ID], with one integer parameter (a library or definition ID).
// Statements without a '?' switch the parameter off.
struct PartDefAccessor : PartDefColumns {
    // Not reported to callers; it only keeps a NULL from showing a stale value.
    DBSTATUS maxConnectorPinsStatus = DBSTATUS_S_OK;
    int32_t libraryId = 0;
    int32_t id = 0;

    int32_t parentId = 0;
    bool withParam = true;

    template <class Map> constexpr void bind(Map &map) {
        bindDefinition(map, 1, &maxConnectorPinsStatus);
        map.column(11, libraryId);
        map.column(12, id);
        if (withParam)
            map.param(1, parentId);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
