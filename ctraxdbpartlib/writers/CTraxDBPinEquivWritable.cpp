#include "ctraxdbpartlib/writers/CTraxDBPinEquivWritable.h"

#include "ctraxdbpartlib/access/CTraxDBPinEquivAccess.h"
#include "ctraxdbpartlib/readers/CTraxDBPinEquivDataReader.h"
#include "ctraxdbpartlib/writers/CTraxDBPinEquivDataWriter.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPinEquivWritable::CTraxDBPinEquivWritable(pathHandle_t path, PartDefAccessor &definition)
    : DBTableWritable(std::move(path),
                      "SELECT [ID],[Part_def_ID] FROM [Pin_Equiv] WHERE [Part_def_ID] = ? ORDER BY([ID]);",
                      WriteTable::PartDefinition, definition.id),
      partDefId(definition.id) {
    rowset.parentId = partDefId;
}

bool CTraxDBPinEquivWritable::find(std::shared_ptr<PinEquivAccess> item) {
    int index = -1;
    item->getEquivIndex(index);
    return findAt(item, index);
}

void CTraxDBPinEquivWritable::insert(std::shared_ptr<PinEquivAccess> item) {
    if (replayedInsert(item))
        return;
    rowset.partDefId = partDefId;
    rowset.id = statements().bufferPinEquivRow(partDefId);
    inserted(item);
}

void CTraxDBPinEquivWritable::update(std::shared_ptr<PinEquivAccess>) {
    TXDB_RAISE_TEXT("Update unsupported for pin equivilence groups");
}

void CTraxDBPinEquivWritable::writeSubItems(DBWriter<PinEquivAccess> &writer, std::shared_ptr<PinEquivAccess> item,
                                            CANCEL_CALLBACK cancel) {
    if (holds(item)) {
        CTraxDBPinEquivDataWriter pins(path, rowset);
        adopt(pins, writer).write(item->getEquivilentPins(), cancel);
    }
    purgeIfPending(writer, item, cancel);
}

void CTraxDBPinEquivWritable::purge(DBWriter<PinEquivAccess> &writer, std::shared_ptr<PinEquivAccess> item,
                                    CANCEL_CALLBACK cancel) {
    int index = -1;
    item->getEquivIndex(index);
    auto group = std::make_shared<CTraxDBPinEquivAccess>(path, rowset, index);
    CTraxDBPinEquivDataWriter pins(path, rowset);
    adopt(pins, writer).purgeAll(std::make_shared<CTraxDBPinEquivDataReader>(path, *group), cancel);
    deleteFound();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
