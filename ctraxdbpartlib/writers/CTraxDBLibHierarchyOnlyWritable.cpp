#include "ctraxdbpartlib/writers/CTraxDBLibHierarchyOnlyWritable.h"

#include "ctraxdbpartlib/access/CTraxDBLibAccess.h"
#include "ctraxdbpartlib/readers/CTraxDBHierarchyReader.h"
#include "ctraxdbpartlib/writers/CTraxDBHierarchyWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBPartWriter.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBLibHierarchyOnlyWritable::CTraxDBLibHierarchyOnlyWritable(pathHandle_t path)
    : DBLibraryWritable(std::move(path)) {}

void CTraxDBLibHierarchyOnlyWritable::writeSubItems(DBWriter<LibHierarchyOnlyAccess> &writer,
                                                    std::shared_ptr<LibHierarchyOnlyAccess> item,
                                                    CANCEL_CALLBACK cancel) {
    if (holds(item) && libraryId != -1) {
        flush();
        statements().initStatementBuffers(false);
        // Folders first, and in the database, so that parts placed in a
        // folder this write creates find it.
        {
            CTraxDBHierarchyWriter folders(path, rowset);
            adopt(folders, writer).write(item->getHierarchyReader(), cancel);
        }
        flushTable(WriteTable::Hierarchy, cancel);
        {
            CTraxDBPartWriter parts(path, rowset);
            adopt(parts, writer).write(item->getHierarchyElementReader(), cancel);
        }
        flushTable(WriteTable::Parts, cancel);
        statements().freeStatementBuffers();
    }
    purgeIfPending(writer, item, cancel);
}

void CTraxDBLibHierarchyOnlyWritable::purge(DBWriter<LibHierarchyOnlyAccess> &writer,
                                            std::shared_ptr<LibHierarchyOnlyAccess>, CANCEL_CALLBACK cancel) {
    auto library = std::make_shared<CTraxDBLibAccess>(path, rowset);
    CTraxDBHierarchyWriter folders(path, rowset);
    adopt(folders, writer).purgeAll(std::make_shared<CTraxDBHierarchyReader>(path, *library), cancel);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
