#include "ctraxdbpartlib/writers/CTraxDBPinEquivDataWritable.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"

#include <cstring>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

std::string identifierOf(PinEquivDataAccess &item) {
    return textOf<11>([&](char *buffer, size_t size) {
        bool isNull = false;
        item.getPinIdentifier(isNull, buffer, size);
    });
}

} // namespace

CTraxDBPinEquivDataWritable::CTraxDBPinEquivDataWritable(pathHandle_t path, PinEquivAccessor &group)
    : DBTableWritable(std::move(path), "SELECT [Pin_identifier],[Equiv_group] FROM [Pin_Data] WHERE [Equiv_group] = ?;",
                      WriteTable::PinEquiv, group.id),
      groupId(group.id), partDefId(group.partDefId) {
    rowset.parentId = groupId;
}

bool CTraxDBPinEquivDataWritable::find(std::shared_ptr<PinEquivDataAccess> item) {
    bool isNull = false;
    item->getPinIdentifier(isNull, rowset.pinIdentifier, sizeof rowset.pinIdentifier);
    rowset.pinIdentifierStatus = statusOf(isNull);
    return findEqual(item, 1);
}

void CTraxDBPinEquivDataWritable::insert(std::shared_ptr<PinEquivDataAccess> item) {
    if (replayedInsert(item))
        return;
    const std::string identifier = identifierOf(*item);
    if (statements().setPendingPinEquivGroup(partDefId, identifier, groupId))
        return;
    if (!statements().isNewKey(WriteTable::PartDefinition, partDefId)) {
        CCommand<CAccessor<UngroupedPinAccessor>> pins;
        pins.parentId = partDefId;
        database().open(pins, "SELECT [Pin_identifier],[Equiv_group],[Part_def_ID],[ID] FROM [Pin_Data] WHERE  "
                              "[Part_def_ID] = ? AND [Equiv_group] IS NULL;");
        std::strncpy(pins.pinIdentifier, identifier.c_str(), sizeof pins.pinIdentifier - 1);
        pins.pinIdentifierStatus = DBSTATUS_S_OK;
        HRESULT result = pins.FindFirstRow(1);
        checkResult(result);
        if (result == S_OK) {
            pins.equivGroup = groupId;
            pins.equivGroupStatus = DBSTATUS_S_OK;
            checkResult(pins.SetData());
            checkResult(pins.Update());
            return;
        }
    }
    TXDB_RAISE_TEXT(formatPrintf("Pin does not exist for pin equivilence %s", identifier));
}

void CTraxDBPinEquivDataWritable::update(std::shared_ptr<PinEquivDataAccess>) {
    TXDB_RAISE_TEXT("Update unsupported for pin equivilence data");
}

void CTraxDBPinEquivDataWritable::del(std::shared_ptr<PinEquivDataAccess>) {
    rowset.equivGroupStatus = DBSTATUS_S_ISNULL;
    setFound();
}

void CTraxDBPinEquivDataWritable::writeSubItems(DBWriter<PinEquivDataAccess> &, std::shared_ptr<PinEquivDataAccess>,
                                                CANCEL_CALLBACK) {}

void CTraxDBPinEquivDataWritable::purge(DBWriter<PinEquivDataAccess> &, std::shared_ptr<PinEquivDataAccess> item,
                                        CANCEL_CALLBACK) {
    del(item);
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
