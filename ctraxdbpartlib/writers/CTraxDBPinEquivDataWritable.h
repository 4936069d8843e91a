#pragma once

#include "ctraxdbpartlib/readers/PinEquivAccessor.h"
#include "ctraxdbpartlib/readers/PinEquivDataAccessor.h"
#include "ctraxdbpartlib/writers/DBTableWritable.h"
#include "interface/PinEquivDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The pins of one pin-equivalence group: the [Equiv_group] of the
// definition's pins, found by identifier. A pin still waiting in the
// buffers gets its group in its row text.
class CTraxDBPinEquivDataWritable : public DBTableWritable<PinEquivDataAccess, PinEquivDataAccessor> {
public:
    CTraxDBPinEquivDataWritable(pathHandle_t path, PinEquivAccessor &group);

    bool find(std::shared_ptr<PinEquivDataAccess> item) override;
    void insert(std::shared_ptr<PinEquivDataAccess> item) override;
    void update(std::shared_ptr<PinEquivDataAccess> item) override;
    // Takes the found pin out of its group.
    void del(std::shared_ptr<PinEquivDataAccess> item) override;
    void writeSubItems(DBWriter<PinEquivDataAccess> &writer, std::shared_ptr<PinEquivDataAccess> item,
                       CANCEL_CALLBACK cancel) override;
    void purge(DBWriter<PinEquivDataAccess> &writer, std::shared_ptr<PinEquivDataAccess> item,
               CANCEL_CALLBACK cancel) override;

private:
    int32_t groupId;
    int32_t partDefId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
