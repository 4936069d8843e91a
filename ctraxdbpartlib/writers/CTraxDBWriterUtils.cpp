#include "ctraxdbpartlib/writers/CTraxDBWriterUtils.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/access/FolderAncestors.h"
#include "ctraxdbpartlib/connection/DBStatement.h"
#include "ctraxdbpartlib/connection/Dialect.h"
#include "ctraxdbpartlib/connection/LibraryPrefetch.h"
#include "ctraxdbpartlib/readers/PinDataAccessor.h"
#include "ctraxdbpartlib/writers/CTraxDBStatementBuffers.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

int32_t runLookup(CTraxDBPath &path, const std::string &sql, CCommand<CAccessor<KeyLookupAccessor>> &command) {
    TXDB_TRACE(LOG_FINEST, sql);
    path.open(command, sql);
    HRESULT result = command.MoveFirst();
    checkResult(result);
    return result == S_OK ? command.id : -1;
}

void setName(KeyLookupAccessor &record, const std::string &name) {
    const size_t length = std::min(name.size(), sizeof record.name - 1);
    std::memcpy(record.name, name.data(), length);
    record.name[length] = '\0';
}

// The key of the stored pin of the definition whose identifier equals
// `identifier`, the first by key; -1 for none. Where the engine's "=" on
// texts is byte equality and the library's read-ahead holds the
// definition's pins, they are compared here without asking the server;
// elsewhere the engine looks the one pin up by its index.
int32_t storedPinKey(CTraxDBPath &path, int32_t partDefId, const std::string &identifier) {
    ProviderConnection &connection = *path.getSession().getConnection();
    LibraryPrefetch *prefetch = connection.getPrefetch();
    if (!connection.dialect().comparesTextsExactly() || !prefetch ||
        !prefetch->holds(path.fixTcEnc(SELECT_DEFINITION_PINS), ParentKind::Definition, partDefId))
        return lookupKey(path,
                         "SELECT [ID] FROM [Pin_Data] WHERE [Part_def_ID] = ? AND [Pin_identifier] = ? ORDER BY([ID]);",
                         partDefId, identifier);
    // The text as the lookup binds it.
    KeyLookupAccessor bound;
    setName(bound, identifier);
    const std::string_view sought(bound.name);
    CCommand<CAccessor<PinDataAccessor>> pins;
    pins.parentId = partDefId;
    path.open(pins, SELECT_DEFINITION_PINS);
    for (HRESULT result = pins.MoveFirst(); checkResult(result), result == S_OK; result = pins.MoveNext())
        if (pins.pinIdentifierStatus != DBSTATUS_S_ISNULL && sought == pins.pinIdentifier)
            return pins.id;
    return -1;
}

std::string folderName(HierarchyAccess &folder) {
    return textOf<51>([&](char *buffer, size_t size) { folder.getName(buffer, size, false); });
}

} // namespace

int32_t lookupKey(CTraxDBPath &path, const std::string &sql, int32_t first, const std::string &name) {
    CCommand<CAccessor<KeyLookupAccessor>> command;
    command.first = first;
    setName(command, name);
    return runLookup(path, sql, command);
}

int findHierarchyID(pathHandle_t path, hierarchyAccessHandle_t folder, int libraryID) {
    TXDB_TRACE(LOG_FINER, "findHierarchyID(pathHandle_t,hierarchyAccessHandle_t,int)");
    // The names from the folder up to the top; a chain of parents that loops
    // raises on the way.
    std::vector<std::string> chain{folderName(*folder)};
    forEachAncestor(*folder, [&chain](HierarchyAccess &parent) { chain.push_back(folderName(parent)); });
    int32_t id = -1;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const std::string &name = *it;
        CCommand<CAccessor<KeyLookupAccessor>> command;
        command.first = libraryID;
        setName(command, name);
        if (id < 0) {
            id = runLookup(dbPath(path),
                           "Select [ID] from [Hierarchy] WHERE [Library_ID] = ? AND [Name] = ? AND [Parent_ID] IS "
                           "NULL ORDER BY([ID]);",
                           command);
        } else {
            command.third = id;
            command.paramCount = 3;
            id = runLookup(dbPath(path),
                           "Select [ID] from [Hierarchy] WHERE [Library_ID] = ? AND [Name] = ? AND [Parent_ID] = ? "
                           "ORDER BY([ID]);",
                           command);
        }
        if (id < 0)
            TXDB_RAISE_TEXT(formatNumbered(loadMessage(IDS_ITEM_NOT_FOUND), {name}));
    }
    return id;
}

int32_t resolvePinKey(CTraxDBPath &path, int32_t partDefId, const std::string &identifier, bool create,
                      const char *notFoundFormat) {
    CTraxDBStatementBuffers &buffers = CTraxDBStatementBuffers::of(path);
    int32_t key = buffers.findPendingPinID(partDefId, identifier);
    if (key < 0 && !buffers.isNewKey(WriteTable::PartDefinition, partDefId))
        key = storedPinKey(path, partDefId, identifier);
    if (key < 0 && create) {
        PinDataAccessor pin;
        pin.partDefId = partDefId;
        std::strncpy(pin.pinIdentifier, identifier.c_str(), sizeof pin.pinIdentifier - 1);
        pin.nameStatus = pin.labelStatus = pin.signalStatus = DBSTATUS_S_ISNULL;
        pin.pinPositionStatus = pin.pinTypeStatus = pin.loadingStatus = DBSTATUS_S_ISNULL;
        key = buffers.bufferPinRow(pin);
    }
    if (key < 0)
        TXDB_RAISE_TEXT(formatPrintf(notFoundFormat, identifier));
    return key;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
