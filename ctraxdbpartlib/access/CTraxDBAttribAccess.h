#pragma once

#include "ctraxdbpartlib/access/CTraxDBAttribRecord.h"
#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/readers/AttributeAccessor.h"
#include "interface/AttributeAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One attribute of a part definition.
class CTraxDBAttribAccess : public CTraxDBAttribRecord<CTraxDBDetailRecord<AttributeAccess>> {
public:
    explicit CTraxDBAttribAccess(const AttributeAccessor &row);
    bool getStoredReadOnly(bool &isNull, int &readOnly) override;

private:
    DBValue<int32_t> storedReadOnly;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
