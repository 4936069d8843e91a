#include "ctraxdbpartlib/readers/CTraxDBCompletePartAndPartDefReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBCompletePartAndPartDefAccess.h"
#include "ctraxdbpartlib/access/CTraxDBLibAccess.h"
#include "ctraxdbpartlib/filters/CTraxPartFilterVisitor.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"
#include "interface/Component.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBCompletePartAndPartDefReader::CTraxDBCompletePartAndPartDefReader(pathHandle_t path, CTraxDBLibAccess &library,
                                                                         partFilterCompHandle_t filter)
    : DBRowReader(std::move(path), "CTraxDBCompletePartAndPartDefReader") {
    TXDB_TRACE(LOG_FINER, "CTraxDBCompletePartAndPartDefReader::CTraxDBCompletePartAndPartDefReader(pathHandle_t,"
                          "CTraxDBLibAccess &,partFilterCompHandle_t)");
    static constexpr const char *JOINED =
        "SELECT [Parts].[Name], [Parts].[Part_number], [Parts].[Description], [Parts].[PSpice_data], "
        "[Parts].[Part_Acceptance], [Parts].[Part_version], [Parts].[Library_ID], [Parts].[Part_def_ID], "
        "[Parts].[Hierarchy_ID], [Parts].[ID], [Part_Definition].[Name], [Part_Definition].[PCB_component_name], "
        "[Part_Definition].[PCB_alternate_name], [Part_Definition].[Part_def_value], "
        "[Part_Definition].[Component_name_stem], [Part_Definition].[PSpice_data], "
        "[Part_Definition].[Max_connector_pins], [Part_Definition].[Gate_swapping], [Part_Definition].[Pin_num_name], "
        "[Part_Definition].[Is_FPGA] FROM [Parts] INNER JOIN [Part_Definition] ON "
        "[Parts].[Part_def_ID]=[Part_Definition].[ID] WHERE ";
    static_assert(selectAgrees<CompletePartAndPartDefAccessor>(JOINED));
    command.parentId = library.getID();
    std::string sql = JOINED;
    std::string countSql = "SELECT Count(*) FROM [Parts] WHERE [Library_ID] = ?";
    if (!filter) {
        TXDB_TRACE(LOG_FINEST, "No filter");
        sql += "[Parts].[Library_ID] = ? ORDER BY [Parts].[Name];";
    } else {
        TXDB_TRACE(LOG_FINEST, "Has filter");
        CTraxPartFilterVisitor visitor;
        filter->accept(&visitor);
        const std::string condition = visitor.getFilterString(nullptr);
        sql += "[Parts].[Library_ID] = ? AND " + condition + " ORDER BY([Parts].[Name]);";
        countSql += " AND " + condition;
    }
    TXDB_TRACE(LOG_FINEST, sql);
    open(sql);
    count = runCount(database(), countSql + ";", command.parentId);
    started = false;
}

std::shared_ptr<CompletePartAndPartDefAccess> CTraxDBCompletePartAndPartDefReader::makeRecord() {
    return newRecord<CTraxDBCompletePartAndPartDefAccess>(path, command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
