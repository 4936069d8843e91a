#include "ctraxdbpartlib/writers/CTraxDBPartDefWritable.h"

#include "ctraxdbpartlib/access/CTraxDBPartDefAccess.h"
#include "ctraxdbpartlib/readers/CTraxDBAttribReader.h"
#include "ctraxdbpartlib/readers/CTraxDBGateReader.h"
#include "ctraxdbpartlib/readers/CTraxDBGateSwapReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPinDataReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPinEquivReader.h"
#include "ctraxdbpartlib/writers/CTraxDBAttribWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBGateSwapWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBGateWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBPinDataWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBPinEquivWriter.h"
#include "ctraxdbpartlib/writers/UnchangedDetails.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPartDefWritable::CTraxDBPartDefWritable(pathHandle_t path, LibraryAccessor &library)
    : DBTableWritable(std::move(path),
                      "SELECT [Name],[PCB_component_name],[PCB_alternate_name],[Part_def_value],[Component_name_stem],"
                      "[PSpice_data],[Max_connector_pins],[Gate_swapping],[Pin_num_name],[Is_FPGA],[Library_ID],[ID] "
                      "from [Part_Definition] WHERE [Library_ID] = ? ORDER BY([ID]);"),
      libraryId(library.id) {
    rowset.parentId = libraryId;
}

void CTraxDBPartDefWritable::fill(PartDefAccess &item) {
    bool isNull = false;
    bool flag = false;
    item.getName(rowset.name, sizeof rowset.name, false);
    item.getPCBCompName(rowset.pcbCompName, sizeof rowset.pcbCompName);
    item.getPCBCompAltName(isNull, rowset.pcbAltName, sizeof rowset.pcbAltName);
    rowset.pcbAltNameStatus = statusOf(isNull);
    item.getValue(isNull, rowset.value, sizeof rowset.value);
    rowset.valueStatus = statusOf(isNull);
    item.getCompNameStem(isNull, rowset.compNameStem, sizeof rowset.compNameStem);
    rowset.compNameStemStatus = statusOf(isNull);
    item.getPSpice(isNull, rowset.pSpice, sizeof rowset.pSpice);
    rowset.pSpiceStatus = statusOf(isNull);
    int gateSwapping = 0, pinNumName = 0, isFPGA = 0;
    if (!item.getStoredFlags(gateSwapping, pinNumName, isFPGA)) {
        item.getGateSwapping(flag);
        gateSwapping = flag;
        item.getPinNumName(flag);
        pinNumName = flag;
        item.getIsFPGA(flag);
        isFPGA = flag;
    }
    rowset.gateSwapping = static_cast<int16_t>(gateSwapping);
    rowset.pinNumName = static_cast<int16_t>(pinNumName);
    rowset.isFPGA = static_cast<int16_t>(isFPGA);
    isNull = false;
    if (!item.getStoredMaxConnectorPins(isNull, rowset.maxConnectorPins))
        item.getMaxConnectorPins(rowset.maxConnectorPins);
    rowset.maxConnectorPinsStatus = statusOf(isNull);
}

bool CTraxDBPartDefWritable::find(std::shared_ptr<PartDefAccess> item) {
    item->getName(rowset.name, sizeof rowset.name, false);
    if (!findEqual(item, 1))
        return false;
    int position = -1;
    item->getPosition(position);
    statements().setPartDefKey(position, rowset.id);
    statements().setSourcePartDefKey(item->getID(), rowset.id);
    return true;
}

void CTraxDBPartDefWritable::insert(std::shared_ptr<PartDefAccess> item) {
    fill(*item);
    rowset.libraryId = libraryId;
    int position = -1;
    item->getPosition(position);
    rowset.id = statements().bufferPartDefRow(rowset, position);
    statements().setSourcePartDefKey(item->getID(), rowset.id);
    inserted(item);
}

void CTraxDBPartDefWritable::update(std::shared_ptr<PartDefAccess> item) {
    fill(*item);
    setFound();
}

void CTraxDBPartDefWritable::writeSubItems(DBWriter<PartDefAccess> &writer, std::shared_ptr<PartDefAccess> item,
                                           CANCEL_CALLBACK cancel) {
    if (holds(item)) {
        // A stored definition's groups, swap groups and gates are replaced
        // whole by those the source delivers, so that positions name the
        // source's items and none of the stored ones is left over (a source
        // without a reader of a kind leaves that kind as it is). A kind the
        // source delivers as it is stored is only replayed for the
        // observers. Pins are written before anything refers to them and
        // removed after nothing does.
        UnchangedDetails unchanged;
        if (!statements().isNewKey(WriteTable::PartDefinition, rowset.id)) {
            std::shared_ptr<CTraxDBPartDefAccess> stored = storedRecord();
            unchanged = UnchangedDetails::of(path, *stored, *item);
            if (unchanged.sourceGroups) {
                Replayed replay(*this, unchanged.groups, Replay::Purge);
                CTraxDBPinEquivWriter groups(path, rowset);
                adopt(groups, writer).purgeAll(std::make_shared<CTraxDBPinEquivReader>(path, *stored), cancel);
            }
            if (unchanged.sourceSwaps) {
                Replayed replay(*this, unchanged.swaps, Replay::Purge);
                CTraxDBGateSwapWriter swaps(path, rowset);
                adopt(swaps, writer).purgeAll(std::make_shared<CTraxDBGateSwapReader>(path, *stored), cancel);
            }
            if (unchanged.sourceGates) {
                Replayed replay(*this, unchanged.gates, Replay::Purge);
                CTraxDBGateWriter gates(path, rowset);
                adopt(gates, writer).purgeAll(std::make_shared<CTraxDBGateReader>(path, *stored), cancel);
            }
        }
        CTraxDBPinDataWriter pins(path, rowset, &unchanged.pins);
        adopt(pins, writer).writeNoDelete(item->getPinDataReader(), cancel);
        {
            Replayed replay(*this, unchanged.groups, Replay::Rewrite);
            CTraxDBPinEquivWriter groups(path, rowset);
            adopt(groups, writer).writeNoDelete(item->getPinEquivReader(), cancel);
        }
        {
            Replayed replay(*this, unchanged.swaps, Replay::Rewrite);
            CTraxDBGateSwapWriter swaps(path, rowset);
            adopt(swaps, writer).writeNoDelete(item->getGateSwapReader(), cancel);
        }
        {
            Replayed replay(*this, unchanged.gates, Replay::Rewrite);
            CTraxDBGateWriter gates(path, rowset);
            adopt(gates, writer).writeNoDelete(item->getGateReader(), cancel);
        }
        CTraxDBPinDataWriter deletedPins(path, rowset);
        adopt(deletedPins, writer).writeDeletions(item->getPinDataReader(), cancel);
        CTraxDBAttribWriter attributes(path, rowset);
        adopt(attributes, writer).write(item->getAttributesReader(), cancel);
    }
    purgeIfPending(writer, item, cancel);
}

CTraxDBPartDefWritable::Replayed::Replayed(CTraxDBPartDefWritable &writable, bool unchanged, Replay mode)
    : scope(writable.statements(), unchanged ? mode : Replay::Off) {}

std::shared_ptr<CTraxDBPartDefAccess> CTraxDBPartDefWritable::storedRecord() {
    PartDefAccessor row;
    row.id = rowset.id;
    row.libraryId = rowset.libraryId;
    return std::make_shared<CTraxDBPartDefAccess>(path, row);
}

void CTraxDBPartDefWritable::purge(DBWriter<PartDefAccess> &writer, std::shared_ptr<PartDefAccess>,
                                   CANCEL_CALLBACK cancel) {
    std::shared_ptr<CTraxDBPartDefAccess> definition = storedRecord();
    CTraxDBAttribWriter attributes(path, rowset);
    adopt(attributes, writer).purgeAll(std::make_shared<CTraxDBAttribReader>(path, *definition), cancel);
    CTraxDBGateWriter gates(path, rowset);
    adopt(gates, writer).purgeAll(std::make_shared<CTraxDBGateReader>(path, *definition), cancel);
    CTraxDBGateSwapWriter swaps(path, rowset);
    adopt(swaps, writer).purgeAll(std::make_shared<CTraxDBGateSwapReader>(path, *definition), cancel);
    CTraxDBPinEquivWriter groups(path, rowset);
    adopt(groups, writer).purgeAll(std::make_shared<CTraxDBPinEquivReader>(path, *definition), cancel);
    CTraxDBPinDataWriter pins(path, rowset);
    adopt(pins, writer).purgeAll(std::make_shared<CTraxDBPinDataReader>(path, *definition), cancel);
    deleteFound();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
