#pragma once

#include "ctraxdbpartlib/readers/AllAttributeAccessor.h"
#include "ctraxdbpartlib/readers/DBAllDetailReader.h"
#include "interface/AllAttributeAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The attributes of a library, or of the definitions a filter text
// selects, by definition and name.
class CTraxDBAllAttribReader : public DBAllDetailReader<AllAttributeAccess, AllAttributeAccessor> {
public:
    CTraxDBAllAttribReader(pathHandle_t path, CTraxDBLibAccess &library, const TCHAR *filterText);

protected:
    std::shared_ptr<AllAttributeAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
