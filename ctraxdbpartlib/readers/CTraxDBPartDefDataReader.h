#pragma once

#include "ctraxdbpartlib/readers/DBPagedStatement.h"
#include "ctraxdbpartlib/readers/DBRowReader.h"
#include "ctraxdbpartlib/readers/PartDefDataAccessor.h"
#include "interface/PartDefDataAccess.h"

#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBLibAccess;

// The part definitions of a library by ID, or those that a filter text of
// the form "prefix(item,item,...)suffix" selects, read page by page when
// the list is too long for one statement.
class CTraxDBPartDefDataReader : public DBRowReader<PartDefDataAccess, PartDefDataAccessor> {
public:
    CTraxDBPartDefDataReader(pathHandle_t path, CTraxDBLibAccess &library, const std::string &filterText);

protected:
    std::shared_ptr<PartDefDataAccess> makeRecord() override;
    bool nextPage() override;

private:
    // The sum of the counts of the pieces the pending list splits into.
    int countPieces();

    PagedFilter paged;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
