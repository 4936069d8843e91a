#include "ctraxdbpartlib/writers/CTraxDBPartWritable.h"

#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"
#include "interface/PartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

CTraxDBPartWritable::CTraxDBPartWritable(pathHandle_t path, LibraryAccessor &library)
    : DBTableWritable(
          std::move(path),
          "SELECT [Name],[Part_number],[Description],[PSpice_data],[Part_Acceptance],[Part_version],[Library_"
          "ID],[Part_def_ID],[Hierarchy_ID],[ID],[Part_Type] FROM [Parts] WHERE [Library_ID] = ? "
          "ORDER BY([Name]);"),
      libraryId(library.id) {
    rowset.parentId = libraryId;
}

int32_t CTraxDBPartWritable::resolveHierarchy(PartAccess &item) {
    CTraxDBStatementBuffers &buffers = statements();
    int position = -1;
    item.getHierarchyPosition(position);
    if (buffers.folderKey(position) >= 0)
        return buffers.folderKey(position);
    hierarchyAccessHandle_t folder = item.getPartHierarchy();
    if (!folder)
        TXDB_RAISE_TEXT("The part " + std::string(rowset.name) + " names no folder");
    const int sourceId = folder->getID();
    if (buffers.sourceFolderKey(sourceId) >= 0)
        return buffers.sourceFolderKey(sourceId);
    const int32_t key = findHierarchyID(path, folder, libraryId);
    buffers.setSourceFolderKey(sourceId, key);
    return key;
}

int32_t CTraxDBPartWritable::resolvePartDef(PartAccess &item, bool stored) {
    CTraxDBStatementBuffers &buffers = statements();
    int position = -1;
    item.getPartDefPosition(position);
    if (buffers.partDefKey(position) >= 0)
        return buffers.partDefKey(position);
    int sourceId = -1;
    item.getPartDefID(sourceId);
    if (buffers.sourcePartDefKey(sourceId) >= 0)
        return buffers.sourcePartDefKey(sourceId);
    std::shared_ptr<PartDefAccess> definition = item.getPartPartDefn();
    if (!definition)
        TXDB_RAISE_TEXT("The part " + std::string(rowset.name) + " names no part definition");
    const std::string name = textOf<51>([&](char *buffer, size_t size) { definition->getName(buffer, size, false); });
    int32_t key = lookupKey(database(),
                            "SELECT [ID] FROM [Part_Definition] WHERE [Library_ID] = ? AND [Name] = ? ORDER BY([ID]);",
                            libraryId, name);
    if (key < 0) {
        int partLibrary = -1;
        item.getLibraryNumber(&partLibrary);
        const int definitionLibrary = definition->getLibID();
        const bool foreign = partLibrary > 0 && definitionLibrary > 0 && partLibrary != definitionLibrary;
        // A stored part on a definition of that name keeps it: a write of
        // folders and placements alone writes no definitions, so another
        // library's are not among the keys this write handed out.
        if (foreign && stored)
            key = lookupKey(database(), "SELECT [ID] FROM [Part_Definition] WHERE [ID] = ? AND [Name] = ?;",
                            rowset.partDefId, name);
        if (key < 0 && foreign)
            TXDB_RAISE_TEXT("The part " + std::string(rowset.name) + " uses the part definition " + name +
                            " of another library, which this write has not written before the part's library");
        if (key < 0)
            TXDB_RAISE_TEXT(formatNumbered(loadMessage(IDS_ITEM_NOT_FOUND), {name}));
    }
    buffers.setSourcePartDefKey(sourceId, key);
    return key;
}

void CTraxDBPartWritable::fill(PartAccess &item, bool stored) {
    bool isNull = false;
    item.getName(rowset.name, sizeof rowset.name, false);
    rowset.hierarchyId = resolveHierarchy(item);
    rowset.partDefId = resolvePartDef(item, stored);
    item.getNumber(isNull, rowset.number, sizeof rowset.number);
    rowset.numberStatus = statusOf(isNull);
    item.getVersion(isNull, rowset.version);
    rowset.versionStatus = statusOf(isNull);
    item.getDescription(isNull, rowset.description, sizeof rowset.description);
    rowset.descriptionStatus = statusOf(isNull);
    item.getPartAcceptance(isNull, rowset.acceptance, sizeof rowset.acceptance);
    rowset.acceptanceStatus = statusOf(isNull);
    item.getPSpice(isNull, rowset.pSpice, sizeof rowset.pSpice);
    rowset.pSpiceStatus = statusOf(isNull);
}

bool CTraxDBPartWritable::find(std::shared_ptr<PartAccess> item) {
    item->getName(rowset.name, sizeof rowset.name, false);
    return findEqual(item, 1);
}

void CTraxDBPartWritable::fillType(PartAccess &item) {
    bool isNull = false;
    item.getPartType(isNull, rowset.partType);
    rowset.partTypeStatus = statusOf(isNull);
}

void CTraxDBPartWritable::insert(std::shared_ptr<PartAccess> item) {
    fill(*item, false);
    fillType(*item);
    rowset.libraryId = libraryId;
    rowset.id = statements().bufferPartRow(rowset);
    inserted(item);
}

void CTraxDBPartWritable::update(std::shared_ptr<PartAccess> item) {
    fill(*item, true);
    setFound();
}

void CTraxDBPartWritable::replace(std::shared_ptr<PartAccess> item) {
    fill(*item, true);
    fillType(*item);
    setFound();
}

void CTraxDBPartWritable::writeSubItems(DBWriter<PartAccess> &writer, std::shared_ptr<PartAccess> item,
                                        CANCEL_CALLBACK cancel) {
    purgeIfPending(writer, item, cancel);
}

void CTraxDBPartWritable::purge(DBWriter<PartAccess> &, std::shared_ptr<PartAccess>, CANCEL_CALLBACK) {
    deleteFound();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
