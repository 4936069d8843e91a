#pragma once

#include "ctraxdbpartlib/readers/DBRowReader.h"
#include "ctraxdbpartlib/readers/LibraryAccessor.h"
#include "interface/LibraryAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The libraries of a database, all of them ordered by name, or those a
// library filter selects, ordered by ID.
class CTraxDBLibReader : public DBRowReader<LibraryAccess, LibraryAccessor> {
public:
    CTraxDBLibReader(pathHandle_t path, libraryFilterCompHandle_t filter);

protected:
    std::shared_ptr<LibraryAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
