#pragma once

#include "ctraxdbpartlib/readers/AttributeAccessor.h"
#include "ctraxdbpartlib/readers/DBDetailReader.h"
#include "interface/AttributeAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBPartDefAccess;
class CTraxDBCompletePartAndPartDefAccess;

// The attributes of one part definition, by name.
class CTraxDBAttribReader : public DBDetailReader<AttributeAccess, AttributeAccessor> {
public:
    CTraxDBAttribReader(pathHandle_t path, CTraxDBPartDefAccess &definition);
    CTraxDBAttribReader(pathHandle_t path, CTraxDBCompletePartAndPartDefAccess &part);

protected:
    std::shared_ptr<AttributeAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
