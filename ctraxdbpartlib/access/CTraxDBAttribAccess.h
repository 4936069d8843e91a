#pragma once

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/readers/AttributeAccessor.h"
#include "interface/AttributeAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One attribute of a part definition.
class CTraxDBAttribAccess : public CTraxDBDetailRecord<AttributeAccess> {
public:
    explicit CTraxDBAttribAccess(const AttributeAccessor &row);

    void getName(TCHAR *buffer, size_t size, bool unused) override;
    void getValue(TCHAR *buffer, size_t size) override;
    void getType(int &usageType) override;
    void getReadOnly(int &readOnly) override;

private:
    DBText<51> name;
    DBText<256> value;
    int32_t usageType;
    DBValue<int32_t> readOnly; // a NULL reads as 0
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
