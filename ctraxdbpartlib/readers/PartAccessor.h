#pragma once

#include "ctraxdbpartlib/connection/CAccessor.h"
#include "ctraxdbpartlib/readers/PartDefAccessor.h"
#include "ctraxdbpartlib/readers/TextWidths.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The part's own columns, first in every part query: [Name], [Part_number],
// [Description], [PSpice_data], [Part_Acceptance], [Part_version],
// [Library_ID], [Part_def_ID], [Hierarchy_ID], [ID]. The parameter is the
// parent's ID (library, folder or part definition).
struct PartColumns {
    TextBuffer<bufferWidth("Parts", "Name")> name = {};
    TextBuffer<bufferWidth("Parts", "Part_number")> number = {};
    DBSTATUS numberStatus = DBSTATUS_S_OK;
    TextBuffer<bufferWidth("Parts", "Description")> description = {};
    DBSTATUS descriptionStatus = DBSTATUS_S_OK;
    TextBuffer<bufferWidth("Parts", "PSpice_data")> pSpice = {};
    DBSTATUS pSpiceStatus = DBSTATUS_S_OK;
    TextBuffer<textWidth::PART_ACCEPTANCE_BUFFER> acceptance = {};
    DBSTATUS acceptanceStatus = DBSTATUS_S_OK;
    int32_t version = 0;
    DBSTATUS versionStatus = DBSTATUS_S_OK;
    int32_t libraryId = 0;
    int32_t partDefId = 0;
    int32_t hierarchyId = 0;
    int32_t id = 0;

    int32_t parentId = 0;

protected:
    template <class Map> constexpr void bindPart(Map &map) {
        map.column(1, name);
        map.column(2, number, &numberStatus);
        map.column(3, description, &descriptionStatus);
        map.column(4, pSpice, &pSpiceStatus);
        map.columnUpTo(5, acceptance, &acceptanceStatus, textWidth::PART_ACCEPTANCE_BYTES);
        map.column(6, version, &versionStatus);
        map.column(7, libraryId);
        map.column(8, partDefId);
        map.column(9, hierarchyId);
        map.column(10, id);
        map.param(1, parentId);
    }
};

// One row of [Parts], with [Part_Type] as column 11.
struct PartAccessor : PartColumns {
    int32_t partType = 0;
    DBSTATUS partTypeStatus = DBSTATUS_S_OK;

    template <class Map> constexpr void bind(Map &map) {
        bindPart(map);
        map.column(11, partType, &partTypeStatus);
    }
};

// A part joined with its definition: the part's columns 1 to 10, then the
// definition's columns, [Max_connector_pins] without a status.
struct CompletePartAndPartDefAccessor : PartColumns {
    PartDefColumns definition;

    template <class Map> constexpr void bind(Map &map) {
        bindPart(map);
        definition.bindDefinition(map, 11);
    }
};

// The report view of a part: [Parts].[Name], [Part_number], [Description],
// [Part_version], [Hierarchy_ID], the definition's [PCB_component_name] and
// the folder's [Name]; the parameter is the library ID.
struct PartForReportsAccessor {
    TextBuffer<bufferWidth("Parts", "Name")> name = {};
    TextBuffer<bufferWidth("Parts", "Part_number")> number = {};
    DBSTATUS numberStatus = DBSTATUS_S_OK;
    TextBuffer<bufferWidth("Parts", "Description")> description = {};
    DBSTATUS descriptionStatus = DBSTATUS_S_OK;
    int32_t version = 0;
    DBSTATUS versionStatus = DBSTATUS_S_OK;
    int32_t hierarchyId = 0;
    DBSTATUS hierarchyIdStatus = DBSTATUS_S_OK;
    TextBuffer<textWidth::REPORT_PCB_COMPONENT_BUFFER> pcbCompName = {};
    DBSTATUS pcbCompNameStatus = DBSTATUS_S_OK;
    TextBuffer<bufferWidth("Hierarchy", "Name")> hierarchyName = {};
    DBSTATUS hierarchyNameStatus = DBSTATUS_S_OK;

    int32_t libraryId = 0;

    template <class Map> constexpr void bind(Map &map) {
        map.column(1, name);
        map.column(2, number, &numberStatus);
        map.column(3, description, &descriptionStatus);
        map.column(4, version, &versionStatus);
        map.column(5, hierarchyId, &hierarchyIdStatus);
        map.columnUpTo(6, pcbCompName, &pcbCompNameStatus, textWidth::REPORT_PCB_COMPONENT_BYTES);
        map.column(7, hierarchyName, &hierarchyNameStatus);
        map.param(1, libraryId);
    }
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
