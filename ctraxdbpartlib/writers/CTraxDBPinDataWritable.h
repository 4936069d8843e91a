#pragma once

#include "ctraxdbpartlib/writers/DBTableWritable.h"
#include "ctraxdbpartlib/writers/StoredPins.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/PinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The pins of one part definition, found by identifier; a deleted pin goes
// after the definition's other details have been written. Given the
// definition's stored pins, a pin is found among them, and the rowset is
// opened only for the first pin whose columns differ from the stored ones:
// a pin that equals its stored row is left as it is either way.
class CTraxDBPinDataWritable : public DBTableWritable<PinDataAccess, PinDataAccessor> {
public:
    CTraxDBPinDataWritable(pathHandle_t path, PartDefAccessor &definition, StoredPins *stored = nullptr);

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
    StoredPins *stored;
    const CTraxDBPinDataAccess *storedFound = nullptr; // the stored pin the last find found
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
