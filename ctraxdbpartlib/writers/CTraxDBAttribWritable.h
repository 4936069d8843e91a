#pragma once

#include "ctraxdbpartlib/writers/DBTableWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/AttributeAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The attributes of one part definition, found by name; a deleted attribute
// goes at once.
class CTraxDBAttribWritable : public DBTableWritable<AttributeAccess, AttributeAccessor> {
public:
    CTraxDBAttribWritable(pathHandle_t path, PartDefAccessor &definition);

    bool find(std::shared_ptr<AttributeAccess> item) override;
    void insert(std::shared_ptr<AttributeAccess> item) override;
    void update(std::shared_ptr<AttributeAccess> item) override;
    void del(std::shared_ptr<AttributeAccess> item) override;
    void writeSubItems(DBWriter<AttributeAccess> &writer, std::shared_ptr<AttributeAccess> item,
                       CANCEL_CALLBACK cancel) override;
    void purge(DBWriter<AttributeAccess> &writer, std::shared_ptr<AttributeAccess> item,
               CANCEL_CALLBACK cancel) override;

private:
    void fill(AttributeAccess &item);

    int32_t partDefId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
