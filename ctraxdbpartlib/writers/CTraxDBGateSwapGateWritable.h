#pragma once

#include "ctraxdbpartlib/readers/GateSwapAccessor.h"
#include "ctraxdbpartlib/writers/DBTableWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/GateSwapGateAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The gates of one gate-swap group, found by position.
class CTraxDBGateSwapGateWritable : public DBTableWritable<GateSwapGateAccess, SwapGateWriteAccessor> {
public:
    CTraxDBGateSwapGateWritable(pathHandle_t path, GateSwapAccessor &group);

    bool find(std::shared_ptr<GateSwapGateAccess> item) override;
    void insert(std::shared_ptr<GateSwapGateAccess> item) override;
    void update(std::shared_ptr<GateSwapGateAccess> item) override;
    void writeSubItems(DBWriter<GateSwapGateAccess> &writer, std::shared_ptr<GateSwapGateAccess> item,
                       CANCEL_CALLBACK cancel) override;
    void purge(DBWriter<GateSwapGateAccess> &writer, std::shared_ptr<GateSwapGateAccess> item,
               CANCEL_CALLBACK cancel) override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
