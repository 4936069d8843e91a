#pragma once

#include "ctraxdbpartlib/connection/LibraryPrefetch.h"
#include "ctraxdbpartlib/writers/DBLibraryWritable.h"
#include "interface/LibraryAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// Whole libraries: the [Library] row, then the folder tree, the part
// definitions with their details and the parts, table by table.
class CTraxDBLibWritable : public DBLibraryWritable<LibraryAccess> {
public:
    explicit CTraxDBLibWritable(pathHandle_t path);

    void writeSubItems(DBWriter<LibraryAccess> &writer, std::shared_ptr<LibraryAccess> item,
                       CANCEL_CALLBACK cancel) override;
    // Removes the library's parts, folders and part definitions, then its row.
    void purge(DBWriter<LibraryAccess> &writer, std::shared_ptr<LibraryAccess> item, CANCEL_CALLBACK cancel) override;

private:
    void writeContent(DBWriter<LibraryAccess> &writer, LibraryAccess &item, CANCEL_CALLBACK cancel);

    // The queries that the last library's stored rows and its source's
    // rows were read ahead by.
    LibraryPrefetch::ReadOrder targetReads, sourceReads;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
