#include "ctraxdbpartlib/writers/CTraxDBAttribWritable.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBAttribWritable::CTraxDBAttribWritable(pathHandle_t path, PartDefAccessor &definition)
    : DBTableWritable(std::move(path),
                      "SELECT [Name],[Attribute_value],[Usage_type],[Read_Only],[Part_def_ID] FROM [Attributes] WHERE "
                      "[Part_def_ID] = ? ORDER BY([Name]);",
                      WriteTable::PartDefinition, definition.id),
      partDefId(definition.id) {
    rowset.parentId = partDefId;
}

void CTraxDBAttribWritable::fill(AttributeAccess &item) {
    item.getName(rowset.name, sizeof rowset.name, false);
    item.getValue(rowset.value, sizeof rowset.value);
    item.getType(rowset.usageType);
    bool isNull = false;
    if (!item.getStoredReadOnly(isNull, rowset.readOnly))
        item.getReadOnly(rowset.readOnly);
    rowset.readOnlyStatus = statusOf(isNull);
}

bool CTraxDBAttribWritable::find(std::shared_ptr<AttributeAccess> item) {
    item->getName(rowset.name, sizeof rowset.name, false);
    return findEqual(item, 1);
}

void CTraxDBAttribWritable::insert(std::shared_ptr<AttributeAccess> item) {
    fill(*item);
    rowset.partDefId = partDefId;
    statements().bufferAttributeRow(rowset);
    inserted(item);
}

void CTraxDBAttribWritable::update(std::shared_ptr<AttributeAccess> item) {
    fill(*item);
    setFound();
}

void CTraxDBAttribWritable::del(std::shared_ptr<AttributeAccess>) {
    deleteFoundNow();
}

void CTraxDBAttribWritable::writeSubItems(DBWriter<AttributeAccess> &, std::shared_ptr<AttributeAccess>,
                                          CANCEL_CALLBACK) {}

void CTraxDBAttribWritable::purge(DBWriter<AttributeAccess> &, std::shared_ptr<AttributeAccess> item, CANCEL_CALLBACK) {
    del(item);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
