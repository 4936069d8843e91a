#pragma once

#include "ctraxdbpartlib/readers/DBRowReader.h"
#include "ctraxdbpartlib/readers/PartDefAccessor.h"
#include "interface/PartDefAccess.h"
#include "interface/PartDefFilter.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBLibAccess;

// The part definitions of a library: all of them by ID, or those whose
// name a part-definition filter selects, by name.
class CTraxDBPartDefReader : public DBRowReader<PartDefAccess, PartDefAccessor> {
public:
    CTraxDBPartDefReader(pathHandle_t path, CTraxDBLibAccess &library, partDefFilterHandle_t filter);

protected:
    std::shared_ptr<PartDefAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
