#include "ctraxdbpartlib/writers/CTraxDBGateSwapGateWritable.h"

#include "ctraxdbpartlib/access/CTraxDBGateSwapGateAccess.h"
#include "ctraxdbpartlib/readers/CTraxDBGateSwapPinDataReader.h"
#include "ctraxdbpartlib/writers/CTraxDBGateSwapPinDataWriter.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateSwapGateWritable::CTraxDBGateSwapGateWritable(pathHandle_t path, GateSwapAccessor &group)
    : DBTableWritable(std::move(path),
                      "SELECT [ID],[Gate_equiv_ID],[Equiv_type] FROM [Gate_Equiv_Gate] WHERE [Gate_equiv_ID] = ? "
                      "ORDER BY([ID]);",
                      WriteTable::GateEquiv, group.id) {
    rowset.parentId = group.id;
    rowset.partDefId = group.partDefId;
}

bool CTraxDBGateSwapGateWritable::find(std::shared_ptr<GateSwapGateAccess> item) {
    int index = -1;
    item->getIndex(index);
    return findAt(item, index);
}

void CTraxDBGateSwapGateWritable::insert(std::shared_ptr<GateSwapGateAccess> item) {
    if (replayedInsert(item))
        return;
    item->getEquivType(rowset.equivType);
    rowset.gateEquivId = rowset.parentId;
    rowset.id = statements().bufferGateSwapGateRow(rowset);
    inserted(item);
}

void CTraxDBGateSwapGateWritable::update(std::shared_ptr<GateSwapGateAccess> item) {
    item->getEquivType(rowset.equivType);
    setFound();
}

void CTraxDBGateSwapGateWritable::writeSubItems(DBWriter<GateSwapGateAccess> &writer,
                                                std::shared_ptr<GateSwapGateAccess> item, CANCEL_CALLBACK cancel) {
    if (holds(item)) {
        CTraxDBGateSwapPinDataWriter pins(path, rowset);
        adopt(pins, writer).write(item->getGateSwapPinDataReader(), cancel);
    }
    purgeIfPending(writer, item, cancel);
}

void CTraxDBGateSwapGateWritable::purge(DBWriter<GateSwapGateAccess> &writer, std::shared_ptr<GateSwapGateAccess> item,
                                        CANCEL_CALLBACK cancel) {
    int index = -1;
    item->getIndex(index);
    auto gate = std::make_shared<CTraxDBGateSwapGateAccess>(path, rowset, index);
    CTraxDBGateSwapPinDataWriter pins(path, rowset);
    adopt(pins, writer).purgeAll(std::make_shared<CTraxDBGateSwapPinDataReader>(path, *gate), cancel);
    deleteFound();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
