#pragma once

#include "ctraxdbpartlib/access/CTraxDBPartRecord.h"
#include "interface/PartAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One part read from [Parts].
class CTraxDBPartAccess : public CTraxDBPartRecord<PartAccess> {
public:
    CTraxDBPartAccess(pathHandle_t path, const PartAccessor &row);

    hierarchyAccessHandle_t getPartHierarchy() override;
    void getPartDefID(int &value) override;
    void getPartType(bool &isNull, int &value) override;
    void getLibraryPath(int &libraryPath) override;
    int getID() const { return id; }

private:
    DBValue<int32_t> partType;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
