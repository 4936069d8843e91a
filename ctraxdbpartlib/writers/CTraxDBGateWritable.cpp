#include "ctraxdbpartlib/writers/CTraxDBGateWritable.h"

#include "ctraxdbpartlib/readers/CTraxDBGateDataReader.h"
#include "ctraxdbpartlib/writers/CTraxDBGateDataWriter.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateWritable::CTraxDBGateWritable(pathHandle_t path, PartDefAccessor &definition)
    : DBTableWritable(std::move(path),
                      "SELECT [ID],[Name],[Alt_name],[Part_def_ID] FROM [Gate] WHERE [Part_def_ID] = ? ORDER BY([ID]);",
                      WriteTable::PartDefinition, definition.id),
      partDefId(definition.id) {
    rowset.parentId = partDefId;
}

void CTraxDBGateWritable::fill(GateAccess &item) {
    bool isNull = false;
    item.getName(rowset.name, sizeof rowset.name);
    item.getAltName(isNull, rowset.altName, sizeof rowset.altName);
    rowset.altNameStatus = statusOf(isNull);
}

bool CTraxDBGateWritable::find(std::shared_ptr<GateAccess> item) {
    int index = -1;
    item->getIndex(index);
    return findAt(item, index);
}

void CTraxDBGateWritable::insert(std::shared_ptr<GateAccess> item) {
    if (replayedInsert(item))
        return;
    fill(*item);
    rowset.partDefId = partDefId;
    rowset.id = statements().bufferGateRow(rowset);
    inserted(item);
}

void CTraxDBGateWritable::update(std::shared_ptr<GateAccess> item) {
    fill(*item);
    setFound();
}

void CTraxDBGateWritable::writeSubItems(DBWriter<GateAccess> &writer, std::shared_ptr<GateAccess> item,
                                        CANCEL_CALLBACK cancel) {
    if (holds(item)) {
        CTraxDBGateDataWriter pins(path, rowset);
        adopt(pins, writer).purgeFound(item->getGateDataReader(), cancel);
        pins.writeNoDelete(item->getGateDataReader(), cancel);
    }
    purgeIfPending(writer, item, cancel);
}

void CTraxDBGateWritable::purge(DBWriter<GateAccess> &writer, std::shared_ptr<GateAccess>, CANCEL_CALLBACK cancel) {
    CTraxDBGateDataWriter pins(path, rowset);
    adopt(pins, writer).purgeAll(std::make_shared<CTraxDBGateDataReader>(path, rowset.id), cancel);
    deleteFound();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
