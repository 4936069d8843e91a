#include "ctraxdbpartlib/readers/CTraxDBPartReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/TraceName.h"
#include "ctraxdbpartlib/access/CTraxDBHierarchyAccess.h"
#include "ctraxdbpartlib/access/CTraxDBLibAccess.h"
#include "ctraxdbpartlib/access/CTraxDBPartAccess.h"
#include "ctraxdbpartlib/filters/CTraxPartFilterVisitor.h"
#include "ctraxdbpartlib/readers/CountAccessor.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"
#include "interface/Component.h"
#include "interface/PartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxDBPartReader"};

constexpr const char *SELECT_PARTS =
    "SELECT [Name],[Part_number],[Description],[PSpice_data],[Part_Acceptance],[Part_version],[Library_ID],"
    "[Part_def_ID],[Hierarchy_ID],[ID],[Part_Type] FROM [Parts] WHERE ";
static_assert(selectAgrees<PartAccessor>(SELECT_PARTS));
const char *const COUNT_PARTS = "SELECT Count(*) FROM [Parts] WHERE ";

// The parent column of each kind of parent, and the order of its parts
// (the parts of a folder come in the database's order).
struct ParentForm {
    const char *column;
    const char *order;
    bool countFirst;
};

const ParentForm &formOf(int parent) {
    static const ParentForm forms[] = {{"[Library_ID] = ?", " ORDER BY([Name])", true},
                                       {"[Hierarchy_ID] = ?", "", false},
                                       {"[Part_def_ID] = ?", " ORDER BY([Name])", false}};
    return forms[parent];
}

} // namespace

CTraxDBPartReader::CTraxDBPartReader(pathHandle_t path, CTraxDBLibAccess &library, partFilterCompHandle_t filter)
    : DBRowReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBLibAccess &,partFilterCompHandle_t)"));
    openFiltered(Parent::Library, library.getID(), filter);
}

CTraxDBPartReader::CTraxDBPartReader(pathHandle_t path, CTraxDBHierarchyAccess &folder, partFilterCompHandle_t filter)
    : DBRowReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBHierarchyAccess &,partFilterCompHandle_t)"));
    openFiltered(Parent::Folder, folder.getID(), filter);
}

CTraxDBPartReader::CTraxDBPartReader(pathHandle_t path, PartDefAccess &definition, partFilterCompHandle_t filter)
    : DBRowReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBPartDefAccess &,partFilterCompHandle_t)"));
    openFiltered(Parent::Definition, definition.getID(), filter);
}

void CTraxDBPartReader::openFiltered(Parent parent, int32_t parentId, const partFilterCompHandle_t &filter) {
    const ParentForm &form = formOf(static_cast<int>(parent));
    std::string condition = form.column;
    if (!filter) {
        TXDB_TRACE(LOG_FINEST, "No filter");
    } else {
        TXDB_TRACE(LOG_FINEST, "Has filter");
        CTraxPartFilterVisitor visitor;
        filter->accept(&visitor);
        condition += " AND " + visitor.getFilterString(nullptr);
    }
    command.parentId = parentId;
    const std::string sql = SELECT_PARTS + condition + form.order + ";";
    const std::string countSql = COUNT_PARTS + condition + ";";
    TXDB_TRACE(LOG_FINEST, sql);
    if (form.countFirst)
        count = runCount(database(), countSql, parentId);
    open(sql);
    if (!form.countFirst)
        count = runCount(database(), countSql, parentId);
    started = false;
}

CTraxDBPartReader::CTraxDBPartReader(pathHandle_t path, CTraxDBLibAccess &library, const std::string &filterText)
    : DBRowReader(std::move(path), traced.name) {
    TXDB_TRACE(LOG_FINER, traced.constructor("(pathHandle_t,CTraxDBLibAccess &,const TCHAR *)"));
    command.parentId = library.getID();
    started = false;
    if (filterText.empty()) {
        TXDB_TRACE(LOG_FINEST, "No filter");
        count = runCount(database(), "SELECT Count(*) FROM [Parts] WHERE [Library_ID] = ?;", command.parentId);
        open(std::string(SELECT_PARTS) + "[Library_ID] = ? ORDER BY([Name]);");
        return;
    }
    TXDB_TRACE(LOG_FINEST, "Has filterString");
    paged = PagedFilter(filterText);
    // The count sums the counts of the same pieces the pages will use.
    std::string list = paged.pending;
    CCommand<CAccessor<CountAccessor>> counter;
    counter.params[0] = command.parentId;
    counter.paramCount = 1;
    const auto countOf = [](const std::string &piece) {
        return std::string(COUNT_PARTS) + "[Library_ID] = ? AND " + piece + ";";
    };
    while (paged.openNext(database(), counter, list, countOf)) {
        checkResult(counter.MoveFirst());
        count += counter.count;
        counter.Close();
    }
    nextPage();
}

bool CTraxDBPartReader::nextPage() {
    if (command.isOpen())
        command.Close();
    return paged.openNext(database(), command, paged.pending, [](const std::string &piece) {
        return std::string(SELECT_PARTS) + "[Library_ID] = ? AND " + piece + " ORDER BY([Name]);";
    });
}

std::shared_ptr<PartAccess> CTraxDBPartReader::makeRecord() {
    return newRecord<CTraxDBPartAccess>(path, command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
