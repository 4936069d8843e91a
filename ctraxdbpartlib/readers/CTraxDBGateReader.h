#pragma once

#include "ctraxdbpartlib/readers/DBDetailReader.h"
#include "ctraxdbpartlib/readers/GateAccessor.h"
#include "interface/GateAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBPartDefAccess;

// The gates of one part definition, by ID.
class CTraxDBGateReader : public DBDetailReader<GateAccess, GateAccessor> {
public:
    CTraxDBGateReader(pathHandle_t path, CTraxDBPartDefAccess &definition);

protected:
    std::shared_ptr<GateAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
