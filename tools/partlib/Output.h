#pragma once

// Output of the read commands: tables and records, printed as an aligned
// text table, CSV (RFC 4180), JSON or an HTML page. A cell is a JSON value,
// so JSON output keeps numbers, flags, NULLs (null) and lists (arrays); the
// other formats show NULL as an empty field and a list as its items joined
// by blanks.

#include "ctraxdbpartlib/TextUtil.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace partlib {

enum class Format { Text, Csv, Json, Html };

using Cell = nlohmann::ordered_json;

struct Table {
    std::vector<std::string> columns; // titles; JSON keys are derived from them
    std::vector<std::vector<Cell>> rows;

    // An array with one object per row; the keys are derived from the
    // titles, or given, one a column.
    nlohmann::ordered_json toJson() const;
    nlohmann::ordered_json toJson(const std::vector<std::string> &keys) const;
};

// One named value of a record: its title in text output, its JSON key.
struct Field {
    std::string title;
    std::string key;
    Cell value;
};

// The values of one record (a part, a definition), in display order.
using Record = std::vector<Field>;

// The JSON key of a title: "PCB component" -> "pcb_component".
std::string jsonKey(const std::string &title);

// A text as it may reach a terminal: control characters (C0, DEL and C1,
// an ESC sequence among them) written as \x1b or \u009b escapes.
using COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::printable;

// A text as HTML element content or a quoted attribute value: & < > " '
// written as character references.
std::string htmlEscaped(const std::string &text);

// A cell as the text and CSV formats show it.
std::string cellText(const Cell &cell);

// Prints a table in the format; title names the HTML page.
void printTable(std::ostream &out, const Table &table, Format format, const std::string &title = "");

// Prints a record as aligned "Title  value" lines.
void printRecord(std::ostream &out, const Record &record);

nlohmann::ordered_json recordJson(const Record &record);

// Prints JSON indented, with invalid UTF-8 replaced rather than refused.
void printJson(std::ostream &out, const nlohmann::ordered_json &value);

// Adds --format to a command, limited to the formats given (the first one
// is the default).
CLI::Option *addFormatOption(CLI::App &command, Format &format, const std::vector<Format> &allowed);

} // namespace partlib
