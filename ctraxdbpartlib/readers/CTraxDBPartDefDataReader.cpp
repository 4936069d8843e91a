#include "ctraxdbpartlib/readers/CTraxDBPartDefDataReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBLibAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPartDefDataAccess.h"
#include "ctraxdbpartlib/readers/CountAccessor.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr const char *QUALIFIED_COLUMNS =
    "SELECT [Part_Definition].[Name],[Part_Definition].[PCB_component_name],[Part_Definition].[PCB_alternate_name],"
    "[Part_Definition].[Part_def_value],[Part_Definition].[Component_name_stem],[Part_Definition].[PSpice_data],"
    "[Part_Definition].[Max_connector_pins],[Part_Definition].[Gate_swapping],[Part_Definition].[Pin_num_name],"
    "[Part_Definition].[Is_FPGA],[Library_ID],[ID] from [Part_Definition] WHERE ";
static_assert(selectAgrees<PartDefDataAccessor>(QUALIFIED_COLUMNS));

} // namespace

CTraxDBPartDefDataReader::CTraxDBPartDefDataReader(pathHandle_t path, CTraxDBLibAccess &library,
                                                   const std::string &filterText)
    : DBRowReader(std::move(path), "CTraxDBPartDefDataReader", MoveTrace::None) {
    TXDB_TRACE(LOG_FINER,
               "CTraxDBPartDefDataReader::CTraxDBPartDefDataReader(pathHandle_t,CTraxDBLibAccess &,const TCHAR *)");
    if (filterText.empty()) {
        TXDB_TRACE(LOG_FINEST, "No filter");
        command.parentId = library.getID();
        open(std::string(QUALIFIED_COLUMNS) + "[Library_ID] = ? ORDER BY([ID]);");
        count =
            runCount(database(), "SELECT Count(*) FROM [Part_Definition] WHERE [Library_ID] = ?;", command.parentId);
        return;
    }
    // The filter text alone selects the definitions: no parameter.
    TXDB_TRACE(LOG_FINEST, "Has filterString");
    command.withParam = false;
    paged = PagedFilter(filterText, 1);
    count = countPieces();
    nextPage();
}

int CTraxDBPartDefDataReader::countPieces() {
    int total = 0;
    std::string remaining = paged.pending;
    CCommand<CAccessor<CountAccessor>> counter;
    while (paged.openNext(database(), counter, remaining, [](const std::string &piece) {
        return "SELECT Count(*) FROM [Part_Definition] WHERE " + piece + ";";
    })) {
        HRESULT result = counter.MoveFirst();
        checkResult(result);
        if (result != DB_S_ENDOFROWSET)
            total += counter.count;
        counter.Close();
    }
    return total;
}

bool CTraxDBPartDefDataReader::nextPage() {
    command.Close();
    return paged.openNext(database(), command, paged.pending,
                          [](const std::string &piece) { return QUALIFIED_COLUMNS + piece + " ORDER BY([ID]);"; });
}

std::shared_ptr<PartDefDataAccess> CTraxDBPartDefDataReader::makeRecord() {
    return newRecord<CTraxDBPartDefDataAccess>(path, command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
