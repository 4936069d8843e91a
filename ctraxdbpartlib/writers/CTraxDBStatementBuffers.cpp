#include "ctraxdbpartlib/writers/CTraxDBStatementBuffers.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CTraxDBSavepoint.h"
#include "ctraxdbpartlib/connection/DBStatement.h"
#include "ctraxdbpartlib/writers/TextWidthCheck.h"
#include "interface/Exception.h"

#include <cstring>
#include <unordered_map>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

const char *const NO_MORE_TO_WRITE = "NO_MORE_TO_WRITE";

namespace {

constexpr int MULTI_ROW_LIMIT = 1000;
constexpr size_t TABLE_COUNT = static_cast<size_t>(WriteTable::Parts) + 1;

struct TableText {
    const char *head;
    const char *keyQuery; // null for a table without key
};

// Per table, in the order of WriteTable.
const TableText tableTexts[TABLE_COUNT] = {
    {"INSERT INTO [Hierarchy] ([Name], [ID], [Library_ID], [Parent_ID]) VALUES", "SELECT MAX([ID]) FROM [Hierarchy];"},
    {"INSERT INTO [Part_Definition] ([ID], [Library_ID], [Name], [PCB_component_name], [PCB_alternate_name], "
     "[Part_def_value], [Component_name_stem], [PSpice_data], [Max_connector_pins], [Gate_swapping], "
     "[Pin_num_name], [Is_FPGA]) VALUES",
     "SELECT MAX([ID]) FROM [Part_Definition];"},
    {"INSERT INTO [Pin_Data] ([ID], [Part_def_ID], [Pin_identifier], [Name], [Label], [Pin_position], [Pin_type], "
     "[Loading], [Signal], [Equiv_group]) VALUES",
     "SELECT MAX([ID]) FROM [Pin_Data];"},
    {"INSERT INTO [Attributes] ([Part_def_ID], [Name], [Attribute_value], [Usage_type], [Read_Only]) VALUES", nullptr},
    {"INSERT INTO [Gate] ([ID], [Part_def_ID], [Name], [Alt_name]) VALUES", "SELECT MAX([ID]) FROM [Gate];"},
    {"INSERT INTO [Gate_has_Pin_Data] ([ID], [Gate_ID], [Pin_data_ID]) VALUES",
     "SELECT MAX([ID]) FROM [Gate_has_Pin_Data];"},
    {"INSERT INTO [Gate_Equiv] ([ID], [Part_def_ID], [Name]) VALUES", "SELECT MAX([ID]) FROM [Gate_Equiv];"},
    {"INSERT INTO [Gate_Equiv_Gate] ([ID], [Gate_equiv_ID], [Equiv_type]) VALUES",
     "SELECT MAX([ID]) FROM [Gate_Equiv_Gate];"},
    {"INSERT INTO [Gate_Equiv_has_Pin_Data] ([ID], [Gate_equiv_gate_ID], [Pin_data_ID]) VALUES",
     "SELECT MAX([ID]) FROM [Gate_Equiv_has_Pin_Data];"},
    {"INSERT INTO [Pin_Equiv] ([ID], [Part_def_ID]) VALUES", "SELECT MAX([ID]) FROM [Pin_Equiv];"},
    {"INSERT INTO [Parts] ([ID], [Library_ID], [Part_def_ID], [Hierarchy_ID], [Name], [Part_number], [Description], "
     "[PSpice_data], [Part_version], [Part_Acceptance], [Part_Type]) VALUES",
     "SELECT MAX([ID]) FROM [Parts];"},
};

} // namespace

// The value tuple of one row: " (" values joined by ", " ")".
class CTraxDBStatementBuffers::Tuple {
public:
    Tuple &number(int32_t value) {
        separate();
        text += std::to_string(value);
        return *this;
    }
    Tuple &string(const char *value) {
        separate();
        text += '\'';
        // Up to each quote, the quote included, and the quote once more.
        for (const char *quote; (quote = std::strchr(value, '\'')) != nullptr; value = quote + 1)
            text.append(value, static_cast<size_t>(quote + 1 - value)) += '\'';
        text += value;
        text += '\'';
        return *this;
    }
    Tuple &null() {
        separate();
        text += "NULL";
        return *this;
    }
    Tuple &number(int32_t value, DBSTATUS status) { return status == DBSTATUS_S_ISNULL ? null() : number(value); }
    Tuple &string(const char *value, DBSTATUS status) { return status == DBSTATUS_S_ISNULL ? null() : string(value); }
    // The tuple without its closing parenthesis.
    const std::string &open() const { return text; }
    std::string close() const { return text + ")"; }

private:
    void separate() {
        if (!first)
            text += ", ";
        first = false;
    }
    std::string text = " (";
    bool first = true;
};

namespace {

const char *keyQueryOf(WriteTable table) {
    return tableTexts[static_cast<size_t>(table)].keyQuery;
}

const char *headOf(WriteTable table) {
    return tableTexts[static_cast<size_t>(table)].head;
}

const std::vector<int32_t> &listOf(const std::unordered_map<int32_t, std::vector<int32_t>> &lists, int32_t key) {
    static const std::vector<int32_t> none;
    auto found = lists.find(key);
    return found == lists.end() ? none : found->second;
}

int32_t keyOf(const std::unordered_map<int, int32_t> &map, int position) {
    auto found = map.find(position);
    return found == map.end() ? -1 : found->second;
}

} // namespace

CTraxDBStatementBuffers::CTraxDBStatementBuffers(CTraxDBPath &path) : path(path) {
    if (path.getStatementBuffers() != nullptr)
        TXDB_RAISE_TEXT("Another library write is running on this database; this write was refused and nothing of it "
                        "was written.");
    path.setStatementBuffers(this);
}

CTraxDBStatementBuffers::~CTraxDBStatementBuffers() {
    path.setStatementBuffers(nullptr);
}

CTraxDBStatementBuffers &CTraxDBStatementBuffers::of(CTraxDBPath &path) {
    CTraxDBStatementBuffers *buffers = path.getStatementBuffers();
    if (buffers == nullptr)
        TXDB_RAISE_TEXT("No library write is running on this database");
    return *buffers;
}

int32_t CTraxDBStatementBuffers::nextKey(WriteTable table) {
    StatementBuffer &buffer = bufferOf(table);
    if (buffer.nextId == -1) {
        buffer.nextId = runCount(path, keyQueryOf(table)) + 1;
        buffer.firstNewId = buffer.nextId;
    } else {
        ++buffer.nextId;
    }
    return buffer.nextId;
}

// Counts a row of the table in the connection's tally; the name is the one
// the table's statement head gives.
void CTraxDBStatementBuffers::tallyRow(WriteTable table) {
    const std::string head = headOf(table);
    const size_t open = head.find('[') + 1;
    ++path.getSession().getConnection()->rowTally()[head.substr(open, head.find(']') - open)].added;
}

void CTraxDBStatementBuffers::addRow(WriteTable table, const std::string &tuple) {
    tallyRow(table);
    StatementBuffer &buffer = bufferOf(table);
    // A statement already handed out is closed: a row after it starts the next.
    if (buffer.cursor < buffer.statements.size() && buffer.rowsInCurrent < buffers.rowsPerStatement) {
        buffer.statements.back() += ',';
    } else {
        buffer.statements.emplace_back(headOf(table));
        buffer.rowsInCurrent = 0;
    }
    buffer.statements.back() += tuple;
    ++buffer.rowsInCurrent;
}

int32_t CTraxDBStatementBuffers::addKeyedRow(WriteTable table, const Tuple &rest) {
    const int32_t key = nextKey(table);
    addRow(table, " (" + std::to_string(key) + (rest.open().size() > 2 ? ", " + rest.close().substr(2) : ")"));
    return key;
}

const std::string *CTraxDBStatementBuffers::definitionName(int32_t partDefId) const {
    auto found = buffers.definitionNames.find(partDefId);
    return found == buffers.definitionNames.end() ? nullptr : &found->second;
}

CTraxDBStatementBuffers::PendingPin *CTraxDBStatementBuffers::findPending(int32_t partDefId,
                                                                          const std::string &identifier) {
    auto list = buffers.pinListOf.find(partDefId);
    if (list == buffers.pinListOf.end())
        return nullptr;
    PinList &pins = buffers.pinLists[list->second];
    auto first = pins.firstByName.find(upperCase(identifier));
    if (first == pins.firstByName.end())
        return nullptr;
    // A pin of exactly that identifier goes before one that differs only in
    // case: an engine that tells case apart may hold both.
    PendingPin &pin = pins.pins[first->second];
    if (pin.identifier != identifier)
        for (PendingPin &exact : pins.pins)
            if (exact.identifier == identifier)
                return &exact;
    return &pin;
}

std::string CTraxDBStatementBuffers::nextPinDataStatement() {
    std::string statement;
    int rows = 0;
    while (rows < buffers.rowsPerStatement && buffers.pinReadList < buffers.pinLists.size()) {
        const std::vector<PendingPin> &pins = buffers.pinLists[buffers.pinReadList].pins;
        if (buffers.pinReadEntry >= pins.size()) {
            ++buffers.pinReadList;
            buffers.pinReadEntry = 0;
            continue;
        }
        const PendingPin &pin = pins[buffers.pinReadEntry++];
        statement += rows++ == 0 ? headOf(WriteTable::PinData) : ",";
        statement += pin.tuple;
        statement += pin.equivGroup < 0 ? "NULL)" : std::to_string(pin.equivGroup) + ")";
    }
    return rows == 0 ? std::string(NO_MORE_TO_WRITE) : statement;
}

void CTraxDBStatementBuffers::initStatementBuffers(bool multiRow) {
    TXDB_TRACE(LOG_FINEST, "initStatementBuffers");
    buffers = Buffers();
    buffers.rowsPerStatement = multiRow ? MULTI_ROW_LIMIT : 1;
}

void CTraxDBStatementBuffers::freeStatementBuffers() {
    TXDB_TRACE(LOG_FINEST, "freeStatementBuffers");
    buffers = Buffers();
}

void CTraxDBStatementBuffers::checkTexts(const HierarchyAccessor &row) const {
    const TextWidthCheck fits(path, libraryName, "Hierarchy", "folder", row.name);
    fits("Name", row.name);
}

void CTraxDBStatementBuffers::checkTexts(const PartDefAccessor &row) const {
    const TextWidthCheck fits(path, libraryName, "Part_Definition", "part definition", row.name);
    fits("Name", row.name);
    fits("PCB_component_name", row.pcbCompName);
    fits("PCB_alternate_name", row.pcbAltName, row.pcbAltNameStatus);
    fits("Part_def_value", row.value, row.valueStatus);
    fits("Component_name_stem", row.compNameStem, row.compNameStemStatus);
    fits("PSpice_data", row.pSpice, row.pSpiceStatus);
}

void CTraxDBStatementBuffers::checkTexts(const PinDataAccessor &row) const {
    const TextWidthCheck fits(path, libraryName, "Pin_Data", "pin", row.pinIdentifier, definitionName(row.partDefId));
    fits("Pin_identifier", row.pinIdentifier, row.pinIdentifierStatus);
    fits("Name", row.name, row.nameStatus);
    fits("Label", row.label, row.labelStatus);
    fits("Signal", row.signal, row.signalStatus);
}

void CTraxDBStatementBuffers::checkTexts(const AttributeAccessor &row) const {
    const TextWidthCheck fits(path, libraryName, "Attributes", "attribute", row.name, definitionName(row.partDefId));
    fits("Name", row.name);
    fits("Attribute_value", row.value);
}

void CTraxDBStatementBuffers::checkTexts(const GateAccessor &row) const {
    const TextWidthCheck fits(path, libraryName, "Gate", "gate", row.name, definitionName(row.partDefId));
    fits("Name", row.name);
    fits("Alt_name", row.altName, row.altNameStatus);
}

void CTraxDBStatementBuffers::checkTexts(const GateSwapAccessor &row) const {
    const TextWidthCheck fits(path, libraryName, "Gate_Equiv", "swap group", row.name, definitionName(row.partDefId));
    fits("Name", row.name);
}

void CTraxDBStatementBuffers::checkTexts(const PartAccessor &row) const {
    const TextWidthCheck fits(path, libraryName, "Parts", "part", row.name);
    fits("Name", row.name);
    fits("Part_number", row.number, row.numberStatus);
    fits("Description", row.description, row.descriptionStatus);
    fits("PSpice_data", row.pSpice, row.pSpiceStatus);
    fits("Part_Acceptance", row.acceptance, row.acceptanceStatus);
}

int32_t CTraxDBStatementBuffers::bufferHierarchyRow(const HierarchyAccessor &row, int position) {
    checkTexts(row);
    const int32_t key = nextKey(WriteTable::Hierarchy);
    addRow(WriteTable::Hierarchy,
           Tuple().string(row.name).number(key).number(row.libraryId).number(row.parentId, row.parentIdStatus).close());
    if (position >= 0)
        buffers.folderMap[position] = key;
    return key;
}

int32_t CTraxDBStatementBuffers::bufferPartDefRow(const PartDefAccessor &row, int position) {
    checkTexts(row);
    const int32_t key =
        addKeyedRow(WriteTable::PartDefinition, Tuple()
                                                    .number(row.libraryId)
                                                    .string(row.name)
                                                    .string(row.pcbCompName)
                                                    .string(row.pcbAltName, row.pcbAltNameStatus)
                                                    .string(row.value, row.valueStatus)
                                                    .string(row.compNameStem, row.compNameStemStatus)
                                                    .string(row.pSpice, row.pSpiceStatus)
                                                    .number(row.maxConnectorPins, row.maxConnectorPinsStatus)
                                                    .number(row.gateSwapping)
                                                    .number(row.pinNumName)
                                                    .number(row.isFPGA));
    setPartDefKey(position, key);
    buffers.definitionNames[key] = row.name;
    return key;
}

int32_t CTraxDBStatementBuffers::bufferPinRow(const PinDataAccessor &row) {
    checkTexts(row);
    const int32_t key = nextKey(WriteTable::PinData);
    Tuple tuple;
    tuple.number(key)
        .number(row.partDefId)
        .string(row.pinIdentifier, row.pinIdentifierStatus)
        .string(row.name, row.nameStatus)
        .string(row.label, row.labelStatus)
        .number(row.pinPosition, row.pinPositionStatus)
        .number(row.pinType, row.pinTypeStatus)
        .number(row.loading, row.loadingStatus)
        .string(row.signal, row.signalStatus);
    auto found = buffers.pinListOf.find(row.partDefId);
    if (found == buffers.pinListOf.end()) {
        found = buffers.pinListOf.emplace(row.partDefId, buffers.pinLists.size()).first;
        buffers.pinLists.emplace_back();
    }
    PinList &list = buffers.pinLists[found->second];
    list.firstByName.emplace(upperCase(row.pinIdentifier), list.pins.size());
    list.pins.push_back({key, row.pinIdentifier, tuple.open() + ", ", -1});
    tallyRow(WriteTable::PinData);
    return key;
}

void CTraxDBStatementBuffers::bufferAttributeRow(const AttributeAccessor &row) {
    checkTexts(row);
    addRow(WriteTable::Attributes, Tuple()
                                       .number(row.partDefId)
                                       .string(row.name)
                                       .string(row.value)
                                       .number(row.usageType)
                                       .number(row.readOnly, row.readOnlyStatus)
                                       .close());
}

int32_t CTraxDBStatementBuffers::bufferGateRow(const GateAccessor &row) {
    checkTexts(row);
    return addKeyedRow(WriteTable::Gate,
                       Tuple().number(row.partDefId).string(row.name).string(row.altName, row.altNameStatus));
}

int32_t CTraxDBStatementBuffers::bufferGatePinRow(int32_t gateId, int32_t pinDataId) {
    const int32_t key = addKeyedRow(WriteTable::GateHasPinData, Tuple().number(gateId).number(pinDataId));
    buffers.gatePinLists[gateId].push_back(pinDataId);
    return key;
}

int32_t CTraxDBStatementBuffers::bufferGateSwapRow(const GateSwapAccessor &row) {
    checkTexts(row);
    return addKeyedRow(WriteTable::GateEquiv, Tuple().number(row.partDefId).string(row.name));
}

int32_t CTraxDBStatementBuffers::bufferGateSwapGateRow(const GateSwapGateAccessor &row) {
    return addKeyedRow(WriteTable::GateEquivGate, Tuple().number(row.gateEquivId).number(row.equivType));
}

int32_t CTraxDBStatementBuffers::bufferGateSwapPinRow(int32_t swapGateId, int32_t pinDataId) {
    const int32_t key = addKeyedRow(WriteTable::GateEquivHasPinData, Tuple().number(swapGateId).number(pinDataId));
    buffers.swapGatePinLists[swapGateId].push_back(key);
    return key;
}

int32_t CTraxDBStatementBuffers::bufferPinEquivRow(int32_t partDefId) {
    return addKeyedRow(WriteTable::PinEquiv, Tuple().number(partDefId));
}

int32_t CTraxDBStatementBuffers::bufferPartRow(const PartAccessor &row) {
    checkTexts(row);
    return addKeyedRow(WriteTable::Parts, Tuple()
                                              .number(row.libraryId)
                                              .number(row.partDefId)
                                              .number(row.hierarchyId)
                                              .string(row.name)
                                              .string(row.number, row.numberStatus)
                                              .string(row.description, row.descriptionStatus)
                                              .string(row.pSpice, row.pSpiceStatus)
                                              .number(row.version, row.versionStatus)
                                              .string(row.acceptance, row.acceptanceStatus)
                                              .number(row.partType, row.partTypeStatus));
}

std::string CTraxDBStatementBuffers::nextStatement(WriteTable table) {
    if (table == WriteTable::PinData)
        return nextPinDataStatement();
    StatementBuffer &buffer = bufferOf(table);
    if (buffer.cursor >= buffer.statements.size())
        return NO_MORE_TO_WRITE;
    // A statement handed out is never read again: it leaves the buffer.
    std::string statement = std::move(buffer.statements[buffer.cursor++]);
    return statement += ';';
}

int32_t CTraxDBStatementBuffers::findPendingPinID(int32_t partDefId, const std::string &identifier) {
    const PendingPin *pin = findPending(partDefId, identifier);
    return pin ? pin->id : -1;
}

bool CTraxDBStatementBuffers::setPendingPinEquivGroup(int32_t partDefId, const std::string &identifier,
                                                      int32_t groupId) {
    PendingPin *pin = findPending(partDefId, identifier);
    if (!pin || pin->equivGroup >= 0)
        return false;
    pin->equivGroup = groupId;
    return true;
}

int32_t CTraxDBStatementBuffers::folderKey(int position) const {
    return keyOf(buffers.folderMap, position);
}

int32_t CTraxDBStatementBuffers::partDefKey(int position) const {
    return keyOf(buffers.partDefMap, position);
}

void CTraxDBStatementBuffers::setPartDefKey(int position, int32_t key) {
    if (position >= 0)
        buffers.partDefMap[position] = key;
}

int32_t CTraxDBStatementBuffers::sourceFolderKey(int sourceId) const {
    return keyOf(buffers.sourceFolderMap, sourceId);
}

void CTraxDBStatementBuffers::setSourceFolderKey(int sourceId, int32_t key) {
    if (sourceId > 0)
        buffers.sourceFolderMap[sourceId] = key;
}

int32_t CTraxDBStatementBuffers::sourcePartDefKey(int sourceId) const {
    return keyOf(sourcePartDefMap, sourceId);
}

void CTraxDBStatementBuffers::setSourcePartDefKey(int sourceId, int32_t key) {
    if (sourceId > 0)
        sourcePartDefMap[sourceId] = key;
}

const std::vector<int32_t> &CTraxDBStatementBuffers::gatePins(int32_t gateId) const {
    return listOf(buffers.gatePinLists, gateId);
}

const std::vector<int32_t> &CTraxDBStatementBuffers::swapGatePins(int32_t swapGateId) const {
    return listOf(buffers.swapGatePinLists, swapGateId);
}

bool CTraxDBStatementBuffers::isNewKey(WriteTable table, int32_t key) const {
    const StatementBuffer &buffer = buffers.tables[static_cast<size_t>(table)];
    return buffer.firstNewId != -1 && key >= buffer.firstNewId && key <= buffer.nextId;
}

namespace {

// The probe's answer, and whether the engine gave it for certain: a failure
// of another kind (a busy database, a lost connection) says nothing of the
// engine, and the next write asks again.
bool probeOnce(CTraxDBPath &path, bool &certain) {
    TXDB_TRACE(LOG_FINEST, "probeMultiRowInsert: asking the engine");
    // The probe fails on purpose on every engine (it leaves out columns that
    // must not be NULL). Engines that end a transaction's use at its first
    // failed statement (PostgreSQL) get it back through a savepoint; an
    // engine without savepoints goes on without one, and outside a
    // transaction there is nothing to get back.
    auto run = [&path](const std::string &sql) {
        CCommand<CNoAccessor> command;
        return command.Open(path.getSession(), path.fixTcEnc(sql), &path.getProperties());
    };
    CTraxDBSavepoint savepoint(path, "txdb_probe");
    const HRESULT result = run("INSERT INTO [Attributes] ([Name],[Attribute_value]) VALUES "
                               "('<TEST_INSERT1>','<TEST_INSERT2>'),('<TEST_INSERT1>','<TEST_INSERT2>');");
    // Whatever the probe did is undone here. The DELETE below is only for
    // an INSERT that succeeded where there is no savepoint: it would also
    // remove attributes that a user named so, and it reads the whole
    // Attributes table (no index on Name).
    const bool undone = savepoint.active();
    savepoint.rollBack();
    certain = result != E_FAIL;
    if (result == DB_E_ERRORSINCOMMAND || result == E_FAIL)
        return false;
    if (SUCCEEDED(result) && !undone)
        path.execute("DELETE FROM [Attributes] WHERE [Name]='<TEST_INSERT1>' OR [Name]='<TEST_INSERT2>';");
    return true;
}

} // namespace

bool probeMultiRowInsert(CTraxDBPath &path) {
    TXDB_TRACE(LOG_FINEST, "probeMultiRowInsert");
    std::optional<bool> &known = path.getSession().getConnection()->multiRowInsert();
    if (known)
        return *known;
    bool certain = false;
    const bool answer = probeOnce(path, certain);
    if (certain)
        known = answer;
    return answer;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
