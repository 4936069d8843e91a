#include "ctraxdbpartlib/writers/CTraxDBGateSwapWritable.h"

#include "ctraxdbpartlib/readers/CTraxDBGateSwapGateReader.h"
#include "ctraxdbpartlib/writers/CTraxDBGateSwapGateWriter.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBGateSwapWritable::CTraxDBGateSwapWritable(pathHandle_t path, PartDefAccessor &definition)
    : DBTableWritable(std::move(path),
                      "SELECT [ID],[Name],[Part_def_ID] FROM [Gate_Equiv] WHERE [Part_def_ID] = ? ORDER BY([ID]);",
                      WriteTable::PartDefinition, definition.id),
      partDefId(definition.id) {
    rowset.parentId = partDefId;
}

bool CTraxDBGateSwapWritable::find(std::shared_ptr<GateSwapAccess> item) {
    int index = -1;
    item->getIndex(index);
    return findAt(item, index);
}

void CTraxDBGateSwapWritable::insert(std::shared_ptr<GateSwapAccess> item) {
    if (replayedInsert(item))
        return;
    item->getName(rowset.name, sizeof rowset.name);
    rowset.partDefId = partDefId;
    rowset.id = statements().bufferGateSwapRow(rowset);
    inserted(item);
}

void CTraxDBGateSwapWritable::update(std::shared_ptr<GateSwapAccess> item) {
    item->getName(rowset.name, sizeof rowset.name);
    setFound();
}

void CTraxDBGateSwapWritable::writeSubItems(DBWriter<GateSwapAccess> &writer, std::shared_ptr<GateSwapAccess> item,
                                            CANCEL_CALLBACK cancel) {
    if (holds(item)) {
        CTraxDBGateSwapGateWriter gates(path, rowset);
        adopt(gates, writer).write(item->getGateSwapGateReader(), cancel);
    }
    purgeIfPending(writer, item, cancel);
}

void CTraxDBGateSwapWritable::purge(DBWriter<GateSwapAccess> &writer, std::shared_ptr<GateSwapAccess>,
                                    CANCEL_CALLBACK cancel) {
    CTraxDBGateSwapGateWriter gates(path, rowset);
    adopt(gates, writer).purgeAll(std::make_shared<CTraxDBGateSwapGateReader>(path, rowset.id), cancel);
    deleteFound();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
