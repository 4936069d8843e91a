#pragma once

#include "ctraxdbpartlib/readers/DBRowReader.h"
#include "ctraxdbpartlib/readers/PartAccessor.h"
#include "interface/PartForReportsAccess.h"

#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBLibAccess;

// The report view of a library's parts: in the statement's order (folder
// name, then part name), or sorted by the full folder path and, within a
// folder, by the host's name order.
class CTraxDBPartReaderForReports : public DBRowReader<PartForReportsAccess, PartForReportsAccessor> {
public:
    CTraxDBPartReaderForReports(pathHandle_t path, CTraxDBLibAccess &library, bool sorted);

    std::shared_ptr<PartForReportsAccess> getNext() override;
    virtual std::shared_ptr<PartForReportsAccess> getNextSorted();
    virtual std::shared_ptr<PartForReportsAccess> getNextUnsorted();

protected:
    std::shared_ptr<PartForReportsAccess> makeRecord() override;

private:
    struct Entry {
        std::shared_ptr<PartForReportsAccess> record;
        const char *folderPath; // owned by the record that computed it
    };

    bool sorted;
    bool cached = false;
    std::vector<Entry> cache;
    int cursor = 0;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
