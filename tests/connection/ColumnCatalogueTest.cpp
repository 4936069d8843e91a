// The column catalogue against the schema's statements: every creation
// statement declares exactly the catalogue's columns of its table, in
// order, with their types, widths and NULL rules; the upgrades add exactly
// the columns the catalogue dates after 1.0; and the width look-ups answer
// for text columns only.

#include "ctraxdbpartlib/connection/ColumnCatalogue.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/readers/PartAccessor.h"
#include "ctraxdbpartlib/readers/PinDataAccessor.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

// A column as a statement declares it, or as the catalogue holds it.
struct Declared {
    std::string name;
    ColumnType type;
    size_t width;
    bool nullable;
    bool operator==(const Declared &other) const {
        return name == other.name && type == other.type && width == other.width && nullable == other.nullable;
    }
};

std::ostream &operator<<(std::ostream &out, const Declared &column) {
    return out << column.name << " type " << static_cast<int>(column.type) << " width " << column.width
               << (column.nullable ? " NULL" : " NOT NULL");
}

ColumnType typeNamed(const std::string &type) {
    return type == "VARCHAR" ? ColumnType::Varchar : type == "SMALLINT" ? ColumnType::SmallInt : ColumnType::Integer;
}

// The columns of a creation statement's column list: "[Name] TYPE", an
// optional width "(n)" or " (n)", then NOT NULL or not.
std::vector<Declared> declaredColumns(const std::string &statement) {
    static const std::regex column(R"((?:\( |, )\[(\w+)\] (INTEGER|SMALLINT|VARCHAR)(?: ?\((\d+)\))?([^,]*))");
    std::vector<Declared> found;
    for (std::sregex_iterator it(statement.begin(), statement.end(), column), end; it != end; ++it) {
        const std::smatch &match = *it;
        const std::string rest = match[4];
        found.push_back({match[1], typeNamed(match[2]), match[3].matched ? std::stoul(match[3]) : 0,
                         rest.find("NOT NULL") == std::string::npos});
    }
    return found;
}

std::vector<Declared> catalogueColumns(const std::string &table, int upToMinor = 2) {
    std::vector<Declared> found;
    for (const CatalogueColumn &column : COLUMN_CATALOGUE)
        if (column.table == table && column.addedIn <= upToMinor)
            found.push_back({std::string(column.name), column.type, column.width, column.nullable});
    return found;
}

// The table of a creation statement, or "" for any other statement.
std::string createdTable(const std::string &statement) {
    static const std::regex create(R"(^CREATE TABLE \[(\w+)\] \()");
    std::smatch match;
    return std::regex_search(statement, match, create) ? std::string(match[1]) : std::string();
}

TEST(ColumnCatalogueTest, EveryCreationStatementDeclaresTheCataloguesColumnsOfItsTable) {
    std::vector<std::string> created;
    for (const std::string &statement : CTraxDBSchema::creationStatements()) {
        const std::string table = createdTable(statement);
        if (table.empty())
            continue;
        created.push_back(table);
        EXPECT_EQ(declaredColumns(statement), catalogueColumns(table)) << statement;
    }
    EXPECT_EQ(created, CTraxDBSchema::tableNames()) << "one creation statement per catalogued table, in order";
    EXPECT_EQ(created.size(), 13u);
}

TEST(ColumnCatalogueTest, TheColumnReaderCatchesADeclarationThatDiffers) {
    // The comparison above is only as good as the statement reader: a width,
    // a NULL rule, a type or a name that differs must show.
    const std::string library = CTraxDBSchema::creationStatements()[1];
    ASSERT_EQ(declaredColumns(library), catalogueColumns("Library"));
    const std::vector<std::string> altered = {
        std::regex_replace(library, std::regex("VARCHAR\\(50\\)"), "VARCHAR(51)"),
        std::regex_replace(library, std::regex("\\[Comment\\] VARCHAR\\(255\\)"), "[Comment] VARCHAR(255) NOT NULL"),
        std::regex_replace(library, std::regex("SMALLINT"), "INTEGER"),
        std::regex_replace(library, std::regex("\\[Enabled\\]"), "[Enable]"),
        std::regex_replace(library, std::regex(", \\[Comment\\] VARCHAR\\(255\\)"), ""),
    };
    for (const std::string &statement : altered)
        EXPECT_NE(declaredColumns(statement), catalogueColumns("Library")) << statement;
    // The two spellings of a width the statements use.
    const std::string parts = CTraxDBSchema::creationStatements()[32];
    ASSERT_EQ(createdTable(parts), "Parts");
    EXPECT_NE(parts.find("[Part_Acceptance] VARCHAR (100)"), std::string::npos);
    EXPECT_EQ(declaredColumns(parts), catalogueColumns("Parts"));
}

// The columns that the ALTER TABLE ... ADD statements of an upgrade add,
// as "Table.Column".
std::vector<std::string> addedColumns(const std::vector<std::string> &statements) {
    static const std::regex add(R"(^ALTER TABLE \[(\w+)\] ADD \[(\w+)\] (INTEGER|SMALLINT|VARCHAR)(?:\((\d+)\))?;)");
    std::vector<std::string> added;
    for (const std::string &statement : statements) {
        std::smatch match;
        if (std::regex_search(statement, match, add)) {
            const CatalogueColumn *column = findColumn(match[1].str(), match[2].str());
            EXPECT_NE(column, nullptr) << statement;
            if (column != nullptr) {
                EXPECT_EQ(column->type, typeNamed(match[3])) << statement;
                EXPECT_EQ(column->width, match[4].matched ? std::stoul(match[4]) : 0) << statement;
            }
            added.push_back(match[1].str() + "." + match[2].str());
        }
    }
    return added;
}

std::vector<std::string> catalogueAddedIn(int minor) {
    std::vector<std::string> added;
    for (const CatalogueColumn &column : COLUMN_CATALOGUE)
        if (column.addedIn == minor)
            added.push_back(std::string(column.table) + "." + std::string(column.name));
    return added;
}

TEST(ColumnCatalogueTest, TheUpgradesAddTheColumnsTheCatalogueDatesAfterTheFirstVersion) {
    EXPECT_EQ(addedColumns(CTraxDBSchema::upgrade10To11Statements()), catalogueAddedIn(1));
    EXPECT_EQ(addedColumns(CTraxDBSchema::upgrade11To12Statements()), catalogueAddedIn(2));
    EXPECT_EQ(addedColumns(CTraxDBSchema::upgrade11To12MySqlStatements()), catalogueAddedIn(2));
    EXPECT_EQ(catalogueAddedIn(1), std::vector<std::string>{"Parts.Part_Type"});
    EXPECT_EQ(catalogueAddedIn(2), std::vector<std::string>{"Pin_Data.Pin_identifier"});
}

TEST(ColumnCatalogueTest, WidthsAreAnsweredForTextColumnsOnly) {
    EXPECT_EQ(CTraxDBSchema::textColumnWidth("Pin_Data", "Name"), 10u);
    EXPECT_EQ(CTraxDBSchema::textColumnWidth("Parts", "PSpice_data"), 80u);
    EXPECT_EQ(CTraxDBSchema::textColumnWidth("Part_Definition", "PSpice_data"), 255u);
    EXPECT_EQ(CTraxDBSchema::textColumnWidth("Parts", "Part_Acceptance"), 100u);
    EXPECT_EQ(CTraxDBSchema::textColumnWidth("Parts", "Part_version"), 0u) << "an integer column";
    EXPECT_EQ(CTraxDBSchema::textColumnWidth("Parts", "Colour"), 0u) << "no such column";
    EXPECT_EQ(CTraxDBSchema::textColumnWidth("Pin_data", "Name"), 0u) << "the schema's spelling only";
    EXPECT_EQ(columnWidth("Gate", "Alt_name"), 50u);
    EXPECT_EQ(bufferWidth("Part_Definition", "Component_name_stem"), 21u);
    const std::string table = "Library", integer = "Enabled", missing = "Colour";
    EXPECT_THROW(columnWidth(table, integer), std::invalid_argument);
    EXPECT_THROW(columnWidth(table, missing), std::invalid_argument);
}

// The buffers built from the catalogue hold their columns whole: four
// bytes a character and the terminator, at the sizes the getters state.
static_assert(sizeof(PinColumns::pinIdentifier) == textBytes(11) && sizeof(PinColumns::signal) == textBytes(51));
static_assert(sizeof(PartColumns::pSpice) == textBytes(81) && sizeof(PartColumns::description) == textBytes(256));
static_assert(sizeof(PartDefColumns::pSpice) == textBytes(256) &&
              sizeof(PartDefColumns::compNameStem) == textBytes(21));

} // namespace
