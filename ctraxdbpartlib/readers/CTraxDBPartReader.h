#pragma once

#include "ctraxdbpartlib/readers/DBPagedStatement.h"
#include "ctraxdbpartlib/readers/DBRowReader.h"
#include "ctraxdbpartlib/readers/PartAccessor.h"
#include "interface/PartAccess.h"
#include "interface/PartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBLibAccess;
class CTraxDBHierarchyAccess;

// The parts of a library (by name), of a folder (in the database's order)
// or of a part definition (by name), optionally restricted by a part
// filter; or the parts of a library that a filter text selects, read page
// by page when its list is too long for one statement.
class CTraxDBPartReader : public DBRowReader<PartAccess, PartAccessor> {
public:
    CTraxDBPartReader(pathHandle_t path, CTraxDBLibAccess &library, partFilterCompHandle_t filter);
    CTraxDBPartReader(pathHandle_t path, CTraxDBHierarchyAccess &folder, partFilterCompHandle_t filter);
    // Any part definition record: only its ID is read.
    CTraxDBPartReader(pathHandle_t path, PartDefAccess &definition, partFilterCompHandle_t filter);
    CTraxDBPartReader(pathHandle_t path, CTraxDBLibAccess &library, const std::string &filterText);

protected:
    std::shared_ptr<PartAccess> makeRecord() override;
    bool nextPage() override;

private:
    enum class Parent { Library, Folder, Definition };
    void openFiltered(Parent parent, int32_t parentId, const partFilterCompHandle_t &filter);

    PagedFilter paged;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
