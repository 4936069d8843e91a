#include "ctraxdbpartlib/readers/CTraxDBLibReader.h"
#include "ctraxdbpartlib/readers/RecordAllocator.h"

#include "ctraxdbpartlib/access/CTraxDBLibAccess.h"
#include "ctraxdbpartlib/filters/CTraxLibFilterVisitor.h"
#include "ctraxdbpartlib/readers/SelectCheck.h"
#include "interface/Component.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr const char *SELECT_LIBRARIES_WHERE = "SELECT [Name],[ID],[Enabled],[Comment] FROM [Library] WHERE ";
static_assert(selectAgrees<LibraryAccessor>(SELECT_LIBRARIES_WHERE));

constexpr const char *SELECT_LIBRARIES = "SELECT [Name],[ID],[Enabled],[Comment] from [Library] ORDER BY([Name]);";
static_assert(selectAgrees<LibraryAccessor>(SELECT_LIBRARIES));

// Only a database path will do; checked before anything is opened, right
// after the constructor's trace record.
pathHandle_t checkedPath(pathHandle_t path) {
    TXDB_TRACE(LOG_FINER, "CTraxDBLibReader::CTraxDBLibReader(pathHandle_t,libraryFilterCompHandle_t)");
    if (!path)
        TXDB_RAISE(IDS_NULL_PATH_HANDLE);
    if (!dynamic_cast<CTraxDBPath *>(path.get()))
        TXDB_RAISE(IDS_INVALID_PATH_HANDLE);
    return path;
}

} // namespace

CTraxDBLibReader::CTraxDBLibReader(pathHandle_t path, libraryFilterCompHandle_t filter)
    : DBRowReader(checkedPath(std::move(path)), "CTraxDBLibReader") {
    if (!filter) {
        TXDB_TRACE(LOG_FINEST, "No filter");
        open(SELECT_LIBRARIES);
        count = runCount(database(), "SELECT Count(*) FROM [Library];");
    } else {
        TXDB_TRACE(LOG_FINEST, "Has filter");
        std::string condition;
        {
            CTraxLibFilterVisitor visitor;
            filter->accept(&visitor);
            condition = visitor.getFilterString(nullptr);
        }
        std::string sql = SELECT_LIBRARIES_WHERE + condition + " ORDER BY [ID];";
        TXDB_TRACE(LOG_FINEST, sql);
        open(sql);
        count = runCount(database(), "SELECT Count(*) FROM [Library] WHERE " + condition + ";");
    }
    started = false;
}

std::shared_ptr<LibraryAccess> CTraxDBLibReader::makeRecord() {
    return newRecord<CTraxDBLibAccess>(path, command);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
