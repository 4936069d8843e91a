#pragma once

#include "ctraxdbpartlib/readers/DBDetailReader.h"
#include "ctraxdbpartlib/readers/PinDataAccessor.h"
#include "interface/PinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBPartDefAccess;
class CTraxDBCompletePartAndPartDefAccess;

// The pins of one part definition, by ID.
class CTraxDBPinDataReader : public DBDetailReader<PinDataAccess, PinDataAccessor> {
public:
    CTraxDBPinDataReader(pathHandle_t path, CTraxDBPartDefAccess &definition);
    CTraxDBPinDataReader(pathHandle_t path, CTraxDBCompletePartAndPartDefAccess &part);

protected:
    std::shared_ptr<PinDataAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
