#pragma once

#include "ctraxdbpartlib/writers/DBTableWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/PinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The pins of one part definition, found by identifier; a deleted pin goes
// after the definition's other details have been written.
class CTraxDBPinDataWritable : public DBTableWritable<PinDataAccess, PinDataAccessor> {
public:
    CTraxDBPinDataWritable(pathHandle_t path, PartDefAccessor &definition);

    bool find(std::shared_ptr<PinDataAccess> item) override;
    void insert(std::shared_ptr<PinDataAccess> item) override;
    void update(std::shared_ptr<PinDataAccess> item) override;
    void writeSubItems(DBWriter<PinDataAccess> &writer, std::shared_ptr<PinDataAccess> item,
                       CANCEL_CALLBACK cancel) override;
    void purge(DBWriter<PinDataAccess> &writer, std::shared_ptr<PinDataAccess> item, CANCEL_CALLBACK cancel) override;

private:
    // The pin's own columns from the item.
    void fill(PinDataAccess &item);

    int32_t partDefId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
