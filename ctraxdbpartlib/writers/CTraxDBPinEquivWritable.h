#pragma once

#include "ctraxdbpartlib/readers/PinEquivAccessor.h"
#include "ctraxdbpartlib/writers/DBTableWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/PinEquivAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The pin-equivalence groups of one part definition, found by position.
class CTraxDBPinEquivWritable : public DBTableWritable<PinEquivAccess, PinEquivAccessor> {
public:
    CTraxDBPinEquivWritable(pathHandle_t path, PartDefAccessor &definition);

    bool find(std::shared_ptr<PinEquivAccess> item) override;
    void insert(std::shared_ptr<PinEquivAccess> item) override;
    void update(std::shared_ptr<PinEquivAccess> item) override;
    void writeSubItems(DBWriter<PinEquivAccess> &writer, std::shared_ptr<PinEquivAccess> item,
                       CANCEL_CALLBACK cancel) override;
    void purge(DBWriter<PinEquivAccess> &writer, std::shared_ptr<PinEquivAccess> item, CANCEL_CALLBACK cancel) override;

private:
    int32_t partDefId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
