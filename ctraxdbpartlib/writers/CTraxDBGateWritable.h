#pragma once

#include "ctraxdbpartlib/readers/GateAccessor.h"
#include "ctraxdbpartlib/writers/DBTableWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/GateAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The gates of one part definition, found by position.
class CTraxDBGateWritable : public DBTableWritable<GateAccess, GateAccessor> {
public:
    CTraxDBGateWritable(pathHandle_t path, PartDefAccessor &definition);

    bool find(std::shared_ptr<GateAccess> item) override;
    void insert(std::shared_ptr<GateAccess> item) override;
    void update(std::shared_ptr<GateAccess> item) override;
    void writeSubItems(DBWriter<GateAccess> &writer, std::shared_ptr<GateAccess> item, CANCEL_CALLBACK cancel) override;
    void purge(DBWriter<GateAccess> &writer, std::shared_ptr<GateAccess> item, CANCEL_CALLBACK cancel) override;

private:
    void fill(GateAccess &item);

    int32_t partDefId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
