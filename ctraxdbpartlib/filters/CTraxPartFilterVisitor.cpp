#include "ctraxdbpartlib/filters/CTraxPartFilterVisitor.h"

#include "ctraxdbpartlib/CLogger.h"
#include "ctraxdbpartlib/TraceName.h"
#include "interface/Exception.h"

#include <cctype>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

constexpr TraceName traced{"CTraxPartFilterVisitor"};

} // namespace

namespace {

constexpr int32_t TABLE_PARTS = 0;
constexpr int32_t TABLE_PARTS_OWN = 1;
constexpr int32_t TABLE_PART_DEFINITION = 2;
constexpr int32_t TABLE_GATE = 3;
constexpr int32_t TABLE_ATTRIBUTES = 4;

bool isSubQueryTable(int32_t table) {
    return table == TABLE_PART_DEFINITION || table == TABLE_GATE || table == TABLE_ATTRIBUTES;
}

const char *opener(int32_t table) {
    switch (table) {
    case TABLE_PART_DEFINITION:
        return "[Part_def_ID] IN (SELECT [ID] FROM [Part_Definition] WHERE ";
    case TABLE_GATE:
        return "[Part_def_ID] IN (SELECT [Parts].[Part_def_ID] FROM [Parts] LEFT JOIN [Gate] ON "
               "[Parts].[Part_def_ID]=[Gate].[Part_def_ID] WHERE ";
    default:
        return "[Part_def_ID] IN (SELECT [Part_def_ID] FROM [Attributes] WHERE ";
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// An optional minus and at least one digit, with blanks around allowed.
bool isInteger(const std::string &text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i < text.size() && text[i] == '-')
        ++i;
    const size_t digits = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    if (i == digits)
        return false;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i == text.size();
}

} // namespace

CTraxPartFilterVisitor::CTraxPartFilterVisitor() {
    TXDB_TRACE(LOG_FINER, traced.constructor(""));
    fields = {
        {"Part Name", {"[Parts].[Name]", 0}},
        {"Number", {"[Part_number]", 0}},
        {"Description", {"[Description]", 0}},
        {"Version", {"[Part_version]", 1}},
        {"Component", {"[PCB_component_name]", 0}},
        {"Component Alternate", {"[PCB_alternate_name]", 0}},
        {"Stem", {"[Component_name_stem]", 0}},
        {"Max. Pin", {"[Max_connector_pins]", 1}},
        {"Symbol", {"[Name]", 0}},
        {"Symbol Alternate", {"[Alt_name]", 0}},
        {"Part Acceptance", {"[Part_Acceptance]", 0}},
        {"Part Type", {"[Part_Type]", 1}},
    };
}

CTraxPartFilterVisitor::~CTraxPartFilterVisitor() {
    TXDB_TRACE(LOG_FINEST, traced.destructor());
}

std::string &CTraxPartFilterVisitor::getFilterString(std::shared_ptr<PartFilter> data) {
    return tableString(data ? data->fieldTable : TABLE_PARTS);
}

std::string &CTraxPartFilterVisitor::tableString(int32_t table) {
    switch (table) {
    case TABLE_PARTS:
    case TABLE_PARTS_OWN:
        return DBFilterVisitor<PartFilter>::getFilterString(nullptr);
    case TABLE_PART_DEFINITION:
        return partDefString;
    case TABLE_GATE:
        return gateString;
    case TABLE_ATTRIBUTES:
        return attributeString;
    default:
        throw new Exception("Unknown Error");
    }
}

void CTraxPartFilterVisitor::beginNode(std::shared_ptr<PartFilter> data) {
    const int32_t table = data->fieldTable;
    std::string &target = tableString(table);
    // Below a group of a table other than 0 the text can only be spliced with
    // the group's own sub-query; text for another string would be lost.
    if (!tables.empty() && tables.top() != TABLE_PARTS && &tableString(tables.top()) != &target)
        TXDB_RAISE_TEXT("A part filter node of table " + std::to_string(table) + " cannot stand in a group of table " +
                        std::to_string(tables.top()) + ": only a group of table 0 can hold conditions on other tables");
    tables.push(table);
    const bool opensSubQuery = isSubQueryTable(table) && target.empty();
    DBFilterVisitor<PartFilter>::beginNode(data);
    if (opensSubQuery)
        target += opener(table);
}

void CTraxPartFilterVisitor::endNode(std::shared_ptr<PartFilter> data) {
    DBFilterVisitor<PartFilter>::endNode(data);
    tables.pop();
    if (!tables.empty() && tables.top() != TABLE_PARTS)
        return;
    const int32_t table = data->fieldTable;
    if (!isSubQueryTable(table))
        return;
    std::string &subQuery = tableString(table);
    tableString(TABLE_PARTS) += subQuery + ")";
    subQuery.clear();
}

void CTraxPartFilterVisitor::addField(std::shared_ptr<PartFilter> data) {
    std::string &target = getFilterString(data);
    switch (data->fieldTable) {
    case TABLE_ATTRIBUTES:
        target += "[Name] = " + quoted(data->fieldName) + " AND " + compared(data, "[Attribute_value]") + " ";
        break;
    case TABLE_GATE:
        target += compared(data, "[Gate]." + lookupField(data->fieldName).column);
        break;
    default:
        target += compared(data, lookupField(data->fieldName).column);
    }
}

void CTraxPartFilterVisitor::addValStr(std::shared_ptr<PartFilter> data) {
    TXDB_TRACE(LOG_FINEST, traced("addValStr(partFilterHandle_t)"));
    const bool quote = data->fieldTable == TABLE_ATTRIBUTES || lookupField(data->fieldName).numeric == 0;
    if (!quote && !isLike(data) && !data->value.empty() && !isInteger(data->value))
        TXDB_RAISE_TEXT("The part filter value \"" + data->value + "\" of the numeric field \"" + data->fieldName +
                        "\" is not an integer");
    writeValue(data, quote);
}

const CTraxPartFilterVisitor::FieldEntry &CTraxPartFilterVisitor::lookupField(const std::string &displayName) const {
    auto found = fields.find(displayName);
    if (found == fields.end())
        TXDB_RAISE_TEXT("The part filter names an unknown field \"" + displayName + "\"");
    return found->second;
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
