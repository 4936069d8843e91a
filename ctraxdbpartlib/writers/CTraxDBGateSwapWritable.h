#pragma once

#include "ctraxdbpartlib/readers/GateSwapAccessor.h"
#include "ctraxdbpartlib/writers/DBTableWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/GateSwapAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The gate-swap groups of one part definition, found by position.
class CTraxDBGateSwapWritable : public DBTableWritable<GateSwapAccess, GateSwapAccessor> {
public:
    CTraxDBGateSwapWritable(pathHandle_t path, PartDefAccessor &definition);

    bool find(std::shared_ptr<GateSwapAccess> item) override;
    void insert(std::shared_ptr<GateSwapAccess> item) override;
    void update(std::shared_ptr<GateSwapAccess> item) override;
    void writeSubItems(DBWriter<GateSwapAccess> &writer, std::shared_ptr<GateSwapAccess> item,
                       CANCEL_CALLBACK cancel) override;
    void purge(DBWriter<GateSwapAccess> &writer, std::shared_ptr<GateSwapAccess> item, CANCEL_CALLBACK cancel) override;

private:
    int32_t partDefId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
