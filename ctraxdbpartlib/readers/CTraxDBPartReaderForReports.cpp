#include "ctraxdbpartlib/readers/CTraxDBPartReaderForReports.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/access/CTraxDBLibAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPartForReportsAccess.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"

#include <algorithm>
#include <cstring>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBPartReaderForReports"};

constexpr const char *REPORT_COLUMNS =
    "SELECT [Parts].[Name],[Parts].[Part_number],[Parts].[Description],[Parts].[Part_version],"
    "[Parts].[Hierarchy_ID],[Part_Definition].[PCB_component_name],[Hierarchy].[Name]";
static_assert(selectAgrees<PartForReportsAccessor>(REPORT_COLUMNS));

const char *const REPORT_FROM =
    " FROM ([Parts] INNER JOIN [Part_Definition] ON [Parts].[Part_def_ID]=[Part_Definition].[ID]) INNER JOIN "
    "[Hierarchy] ON [Parts].[Hierarchy_ID]=[Hierarchy].[ID] WHERE [Parts].[Library_ID] = ?";

} // namespace

CTraxDBPartReaderForReports::CTraxDBPartReaderForReports(pathHandle_t path, CTraxDBLibAccess &library, bool sorted)
    : DBRowReader(std::move(path), traced.name, MoveTrace::None), sorted(sorted) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBLibAccess &,int)"));
    command.libraryId = library.getID();
    open(std::string(REPORT_COLUMNS) + REPORT_FROM + " ORDER BY [Hierarchy].[Name],[Parts].[Name];");
    // The count of the rows the statement delivers: same join, same condition.
    count = runCount(database(), std::string("SELECT Count(*)") + REPORT_FROM + ";", command.libraryId);
}

std::shared_ptr<PartForReportsAccess> CTraxDBPartReaderForReports::getNext() {
    TXDB_TRACE(LOG_FINE, traced("getNext"));
    return sorted ? getNextSorted() : getNextUnsorted();
}

std::shared_ptr<PartForReportsAccess> CTraxDBPartReaderForReports::getNextUnsorted() {
    return DBRowReader::getNext();
}

std::shared_ptr<PartForReportsAccess> CTraxDBPartReaderForReports::getNextSorted() {
    TXDB_TRACE(LOG_FINE, traced("getNext"));
    if (cached) {
        if (cursor + 1 >= static_cast<int>(cache.size()))
            return nullptr;
        return cache[++cursor].record;
    }
    cached = true;
    const char *folderPath = nullptr;
    bool first = true;
    int previousFolder = 0;
    while (std::shared_ptr<PartForReportsAccess> record = DBRowReader::getNext()) {
        bool isNull = false;
        int folder = 0;
        record->getHierarchyID(isNull, folder);
        if (first || folder != previousFolder) {
            TCHAR *text = nullptr;
            record->getHierrachyFullName(isNull, &text);
            folderPath = isNull ? "" : text;
        }
        first = false;
        previousFolder = folder;
        cache.push_back({record, folderPath});
    }
    if (cache.empty())
        return nullptr;
    std::sort(cache.begin(), cache.end(), [](const Entry &a, const Entry &b) {
        int byPath = std::strcmp(a.folderPath, b.folderPath); // strcmp compares as unsigned char
        if (byPath != 0)
            return byPath < 0;
        TextBuffer<51> nameA, nameB;
        a.record->getName(nameA, sizeof nameA, false);
        b.record->getName(nameB, sizeof nameB, false);
        return isFirstNameBeforeSecond(nameA, nameB) != 0;
    });
    cursor = 0;
    return cache[0].record;
}

std::shared_ptr<PartForReportsAccess> CTraxDBPartReaderForReports::makeRecord() {
    return newRecord<CTraxDBPartForReportsAccess>(path, command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
