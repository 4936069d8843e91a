#include "ctraxdbpartlib/writers/CTraxDBPinDataWritable.h"

#include <cstring>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPinDataWritable::CTraxDBPinDataWritable(pathHandle_t path, PartDefAccessor &definition, StoredPins *stored)
    : DBTableWritable(std::move(path), SELECT_DEFINITION_PINS, WriteTable::PartDefinition, definition.id),
      partDefId(definition.id), stored(stored && !stored->empty() ? stored : nullptr) {
    rowset.parentId = partDefId;
}

void CTraxDBPinDataWritable::fill(PinDataAccess &item) {
    bool isNull = false;
    item.getPinIdentifier(isNull, rowset.pinIdentifier, sizeof rowset.pinIdentifier);
    rowset.pinIdentifierStatus = statusOf(isNull);
    item.getName(isNull, rowset.name, sizeof rowset.name);
    rowset.nameStatus = statusOf(isNull);
    item.getLabel(isNull, rowset.label, sizeof rowset.label);
    rowset.labelStatus = statusOf(isNull);
    item.getPosition(isNull, rowset.pinPosition);
    rowset.pinPositionStatus = statusOf(isNull);
    item.getType(isNull, rowset.pinType);
    rowset.pinTypeStatus = statusOf(isNull);
    item.getLoading(isNull, rowset.loading);
    rowset.loadingStatus = statusOf(isNull);
    item.getSignal(isNull, rowset.signal, sizeof rowset.signal);
    rowset.signalStatus = statusOf(isNull);
}

bool CTraxDBPinDataWritable::find(std::shared_ptr<PinDataAccess> item) {
    bool isNull = false;
    item->getPinIdentifier(isNull, rowset.pinIdentifier, sizeof rowset.pinIdentifier);
    rowset.pinIdentifierStatus = statusOf(isNull);
    storedFound = stored && !isNull
                      ? stored->find(std::string(rowset.pinIdentifier,
                                                 strnlen(rowset.pinIdentifier, sizeof rowset.pinIdentifier)))
                      : nullptr;
    if (storedFound)
        return found(item, true);
    return findEqual(item, 1);
}

void CTraxDBPinDataWritable::insert(std::shared_ptr<PinDataAccess> item) {
    fill(*item);
    rowset.partDefId = partDefId;
    rowset.equivGroupStatus = DBSTATUS_S_ISNULL;
    rowset.id = statements().bufferPinRow(rowset);
    inserted(item);
}

void CTraxDBPinDataWritable::update(std::shared_ptr<PinDataAccess> item) {
    fill(*item);
    if (storedFound && storedFound->holds(rowset)) {
        keepFound();
        return;
    }
    if (storedFound) {
        // The first change: from here on the rowset finds every pin, this
        // one first, and holds what changes. The stored pins were read from
        // its rows; a row gone since would leave it on no row, which
        // setFound refuses.
        stored = nullptr;
        storedFound = nullptr;
        findEqual(item, 1);
        fill(*item);
    }
    setFound();
}

void CTraxDBPinDataWritable::writeSubItems(DBWriter<PinDataAccess> &writer, std::shared_ptr<PinDataAccess> item,
                                           CANCEL_CALLBACK cancel) {
    purgeIfPending(writer, item, cancel);
}

void CTraxDBPinDataWritable::purge(DBWriter<PinDataAccess> &, std::shared_ptr<PinDataAccess>, CANCEL_CALLBACK) {
    deleteFound();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
