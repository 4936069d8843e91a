#pragma once

#include "ctraxdbpartlib/access/CTraxDBAllRecord.h"
#include "ctraxdbpartlib/readers/AllAttributeAccessor.h"
#include "interface/AllAttributeAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One attribute of a library with the ID of its part definition.
class CTraxDBAllAttribAccess : public CTraxDBAllRecord<AllAttributeAccess> {
public:
    explicit CTraxDBAllAttribAccess(const AllAttributeAccessor &row);

    void getName(TCHAR *buffer, size_t size, bool unused) override;
    void getValue(TCHAR *buffer, size_t size) override;
    void getType(int &value) override;
    void getReadOnly(int &value) override;

private:
    DBText<51> name;
    DBText<256> value;
    int32_t usageType;
    int32_t readOnly;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
