#pragma once

// The columns of the part-library tables (schema 1.2), each once: its
// table, name, type, width and NULL rule, in creation order (tables in the
// order they are created, columns in the order their creation statement
// declares them). The schema's creation statements are checked against
// this list, the readers' and writers' text buffers and the tools' text
// widths are built from it:
//
//   TextBuffer<bufferWidth("Pin_Data", "Name")> name = {};  // 11
//   constexpr size_t LABEL_WIDTH = columnWidth("Pin_Data", "Label");  // 50
//
// Everything here is constexpr: a column named wrong in a buffer or width
// declaration does not compile.

#include <cstddef>
#include <stdexcept>
#include <string_view>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

enum class ColumnType { Integer, SmallInt, Varchar };

struct CatalogueColumn {
    std::string_view table;
    std::string_view name;
    ColumnType type;
    size_t width;  // characters of a VARCHAR; 0 for the integer types
    bool nullable; // false where the column is declared NOT NULL
    int addedIn;   // the minor version of 1.x that added the column; 0 for the columns of 1.0
};

namespace catalogue {
constexpr ColumnType INTEGER = ColumnType::Integer, SMALLINT = ColumnType::SmallInt, VARCHAR = ColumnType::Varchar;
constexpr bool NULLABLE = true, NOT_NULL = false;
} // namespace catalogue

inline constexpr CatalogueColumn COLUMN_CATALOGUE[] = {
    {"Library_version", "Major", catalogue::INTEGER, 0, catalogue::NULLABLE, 0},
    {"Library_version", "Minor", catalogue::INTEGER, 0, catalogue::NULLABLE, 0},

    {"Library", "ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Library", "Name", catalogue::VARCHAR, 50, catalogue::NOT_NULL, 0},
    {"Library", "Enabled", catalogue::SMALLINT, 0, catalogue::NOT_NULL, 0},
    {"Library", "Comment", catalogue::VARCHAR, 255, catalogue::NULLABLE, 0},

    {"Hierarchy", "ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Hierarchy", "Library_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Hierarchy", "Name", catalogue::VARCHAR, 50, catalogue::NOT_NULL, 0},
    {"Hierarchy", "Parent_ID", catalogue::INTEGER, 0, catalogue::NULLABLE, 0},

    {"Part_Definition", "ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Part_Definition", "Library_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Part_Definition", "Name", catalogue::VARCHAR, 50, catalogue::NOT_NULL, 0},
    {"Part_Definition", "PCB_component_name", catalogue::VARCHAR, 50, catalogue::NOT_NULL, 0},
    {"Part_Definition", "PCB_alternate_name", catalogue::VARCHAR, 50, catalogue::NULLABLE, 0},
    {"Part_Definition", "Part_def_value", catalogue::VARCHAR, 255, catalogue::NULLABLE, 0},
    {"Part_Definition", "Component_name_stem", catalogue::VARCHAR, 20, catalogue::NULLABLE, 0},
    {"Part_Definition", "PSpice_data", catalogue::VARCHAR, 255, catalogue::NULLABLE, 0},
    {"Part_Definition", "Max_connector_pins", catalogue::INTEGER, 0, catalogue::NULLABLE, 0},
    {"Part_Definition", "Gate_swapping", catalogue::SMALLINT, 0, catalogue::NOT_NULL, 0},
    {"Part_Definition", "Pin_num_name", catalogue::SMALLINT, 0, catalogue::NOT_NULL, 0},
    {"Part_Definition", "Is_FPGA", catalogue::SMALLINT, 0, catalogue::NOT_NULL, 0},

    // The key of Pin_Data is declared without NOT NULL.
    {"Pin_Data", "ID", catalogue::INTEGER, 0, catalogue::NULLABLE, 0},
    {"Pin_Data", "Part_def_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Pin_Data", "Pin_identifier", catalogue::VARCHAR, 10, catalogue::NULLABLE, 2},
    {"Pin_Data", "Name", catalogue::VARCHAR, 10, catalogue::NULLABLE, 0},
    {"Pin_Data", "Label", catalogue::VARCHAR, 50, catalogue::NULLABLE, 0},
    {"Pin_Data", "Pin_position", catalogue::INTEGER, 0, catalogue::NULLABLE, 0},
    {"Pin_Data", "Pin_type", catalogue::INTEGER, 0, catalogue::NULLABLE, 0},
    {"Pin_Data", "Loading", catalogue::INTEGER, 0, catalogue::NULLABLE, 0},
    {"Pin_Data", "Signal", catalogue::VARCHAR, 50, catalogue::NULLABLE, 0},
    {"Pin_Data", "Equiv_group", catalogue::INTEGER, 0, catalogue::NULLABLE, 0},

    {"Pin_Equiv", "ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Pin_Equiv", "Part_def_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},

    {"Gate_Equiv", "ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Gate_Equiv", "Part_def_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Gate_Equiv", "Name", catalogue::VARCHAR, 50, catalogue::NOT_NULL, 0},

    {"Gate_Equiv_Gate", "ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Gate_Equiv_Gate", "Gate_equiv_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Gate_Equiv_Gate", "Equiv_type", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},

    {"Gate_Equiv_has_Pin_Data", "ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Gate_Equiv_has_Pin_Data", "Gate_equiv_gate_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Gate_Equiv_has_Pin_Data", "Pin_data_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},

    {"Gate", "ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Gate", "Part_def_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Gate", "Name", catalogue::VARCHAR, 50, catalogue::NOT_NULL, 0},
    {"Gate", "Alt_name", catalogue::VARCHAR, 50, catalogue::NULLABLE, 0},

    {"Gate_has_Pin_Data", "ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Gate_has_Pin_Data", "Gate_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Gate_has_Pin_Data", "Pin_data_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},

    {"Attributes", "Part_def_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Attributes", "Name", catalogue::VARCHAR, 255, catalogue::NOT_NULL, 0},
    {"Attributes", "Attribute_value", catalogue::VARCHAR, 255, catalogue::NOT_NULL, 0},
    {"Attributes", "Usage_type", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Attributes", "Read_Only", catalogue::INTEGER, 0, catalogue::NULLABLE, 0},

    {"Parts", "ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Parts", "Library_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Parts", "Part_def_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Parts", "Hierarchy_ID", catalogue::INTEGER, 0, catalogue::NOT_NULL, 0},
    {"Parts", "Name", catalogue::VARCHAR, 50, catalogue::NOT_NULL, 0},
    {"Parts", "Part_number", catalogue::VARCHAR, 50, catalogue::NULLABLE, 0},
    {"Parts", "Description", catalogue::VARCHAR, 255, catalogue::NULLABLE, 0},
    {"Parts", "PSpice_data", catalogue::VARCHAR, 80, catalogue::NULLABLE, 0},
    {"Parts", "Part_version", catalogue::INTEGER, 0, catalogue::NULLABLE, 0},
    {"Parts", "Part_Acceptance", catalogue::VARCHAR, 100, catalogue::NULLABLE, 0},
    {"Parts", "Part_Type", catalogue::INTEGER, 0, catalogue::NULLABLE, 1},
};

constexpr size_t COLUMN_COUNT = sizeof COLUMN_CATALOGUE / sizeof COLUMN_CATALOGUE[0];

// The column's place in the catalogue, or COLUMN_COUNT when the table has no
// column of that name (names compared as the schema writes them). Places,
// not pointers: a sanitizing build does not evaluate pointer tests on the
// catalogue at compile time.
constexpr size_t columnIndex(std::string_view table, std::string_view name) {
    for (size_t i = 0; i < COLUMN_COUNT; ++i)
        if (COLUMN_CATALOGUE[i].table == table && COLUMN_CATALOGUE[i].name == name)
            return i;
    return COLUMN_COUNT;
}

// The column, or null when the table has no column of that name.
inline const CatalogueColumn *findColumn(std::string_view table, std::string_view name) {
    const size_t index = columnIndex(table, name);
    return index == COLUMN_COUNT ? nullptr : &COLUMN_CATALOGUE[index];
}

// The width in characters of a text column. Any other name is an error: it
// does not compile where a constant is needed, and throws elsewhere.
constexpr size_t columnWidth(std::string_view table, std::string_view name) {
    const size_t index = columnIndex(table, name);
    if (index == COLUMN_COUNT || COLUMN_CATALOGUE[index].type != ColumnType::Varchar)
        throw std::invalid_argument("no text column of the schema");
    return COLUMN_CATALOGUE[index].width;
}

// The W of the TextBuffer<W> that holds a text column whole: its width and
// the terminator, as the getters state their sizes (51 for a VARCHAR(50)).
constexpr size_t bufferWidth(std::string_view table, std::string_view name) {
    return columnWidth(table, name) + 1;
}

namespace catalogue {

// Each table's columns stand together, no table names a column twice, and
// exactly the VARCHAR columns have a width.
constexpr bool wellFormed() {
    for (size_t i = 0; i < COLUMN_COUNT; ++i) {
        const CatalogueColumn &column = COLUMN_CATALOGUE[i];
        if ((column.type == ColumnType::Varchar) != (column.width > 0))
            return false;
        for (size_t j = i + 1; j < COLUMN_COUNT; ++j) {
            const CatalogueColumn &later = COLUMN_CATALOGUE[j];
            const bool sameTableLater = later.table == column.table;
            if (sameTableLater && later.name == column.name)
                return false;
            if (sameTableLater && COLUMN_CATALOGUE[j - 1].table != column.table)
                return false;
        }
    }
    return true;
}
static_assert(wellFormed(), "a table's columns apart, a column twice, or a width on a non-text column");

} // namespace catalogue

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
