#pragma once

#include "ctraxdbpartlib/access/CTraxDBPartDefRecord.h"
#include "ctraxdbpartlib/readers/PartDefDataAccessor.h"
#include "interface/PartDefDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One part definition without readers of its details.
class CTraxDBPartDefDataAccess : public CTraxDBPartDefRecord<PartDefDataAccess> {
public:
    CTraxDBPartDefDataAccess(pathHandle_t path, const PartDefDataAccessor &row);

    void getPartDefID(int &partDefID) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
