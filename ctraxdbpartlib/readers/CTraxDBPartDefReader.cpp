#include "ctraxdbpartlib/readers/CTraxDBPartDefReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBLibAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPartDefAccess.h"
#include "ctraxdbpartlib/filters/CTraxPartDefFilterVisitor.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr const char *DEFINITION_COLUMNS =
    "SELECT [Name],[PCB_component_name],[PCB_alternate_name],[Part_def_value],[Component_name_stem],[PSpice_data],"
    "[Max_connector_pins],[Gate_swapping],[Pin_num_name],[Is_FPGA],[Library_ID],[ID] ";
static_assert(selectAgrees<PartDefAccessor>(DEFINITION_COLUMNS, "Part_Definition"));

} // namespace

CTraxDBPartDefReader::CTraxDBPartDefReader(pathHandle_t path, CTraxDBLibAccess &library, partDefFilterHandle_t filter)
    : DBRowReader(std::move(path), "CTraxDBPartDefReader", MoveTrace::None) {
    TXDB_TRACE(LOG_FINER,
               "CTraxDBPartDefReader::CTraxDBPartDefReader(pathHandle_t,CTraxDBLibAccess &,partDefFilterHandle_t)");
    command.parentId = library.getID();
    if (!filter) {
        TXDB_TRACE(LOG_FINEST, "No filter");
        count =
            runCount(database(), "SELECT Count(*) FROM [Part_Definition] WHERE [Library_ID] = ?;", command.parentId);
        open(std::string(DEFINITION_COLUMNS) + "from [Part_Definition] WHERE [Library_ID] = ? ORDER BY([ID]);");
    } else {
        TXDB_TRACE(LOG_FINEST, "Has filter");
        std::string condition;
        {
            CTraxPartDefFilterVisitor visitor;
            visitor.visit(filter);
            condition = visitor.getFilterString(nullptr);
        }
        count =
            runCount(database(), "SELECT Count(*) FROM [Part_Definition] WHERE [Library_ID] = ? AND " + condition + ";",
                     command.parentId);
        std::string sql = std::string(DEFINITION_COLUMNS) + "FROM [Part_Definition] WHERE [Library_ID] = ? AND " +
                          condition + " ORDER BY([Name]);";
        TXDB_TRACE(LOG_FINEST, sql);
        open(sql);
    }
}

std::shared_ptr<PartDefAccess> CTraxDBPartDefReader::makeRecord() {
    return newRecord<CTraxDBPartDefAccess>(path, command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
