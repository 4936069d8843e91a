#include "tools/partlib/Output.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace partlib {

namespace {

const std::map<Format, std::string> formatNames = {
    {Format::Text, "text"}, {Format::Csv, "csv"}, {Format::Json, "json"}, {Format::Html, "html"}};

// Characters on screen: UTF-8 continuation bytes take no room.
size_t displayWidth(const std::string &text) {
    return std::count_if(text.begin(), text.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

// A line break or tab inside a value would break the columns.
std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    return printable(text);
}

void printText(std::ostream &out, const Table &table) {
    const size_t count = table.columns.size();
    std::vector<std::vector<std::string>> texts;
    std::vector<size_t> widths(count);
    for (size_t c = 0; c < count; ++c)
        widths[c] = displayWidth(table.columns[c]);
    for (const auto &row : table.rows) {
        std::vector<std::string> line;
        for (size_t c = 0; c < count; ++c) {
            line.push_back(oneLine(c < row.size() ? cellText(row[c]) : ""));
            widths[c] = std::max(widths[c], displayWidth(line.back()));
        }
        texts.push_back(std::move(line));
    }
    auto printLine = [&](const std::vector<std::string> &line, const std::vector<Cell> *cells) {
        std::string text;
        for (size_t c = 0; c < count; ++c) {
            const size_t room = widths[c] - displayWidth(line[c]);
            const bool right = cells && c < cells->size() && (*cells)[c].is_number();
            if (c)
                text += "  ";
            if (right)
                text += std::string(room, ' ');
            text += line[c];
            if (!right && c + 1 < count)
                text += std::string(room, ' ');
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out << text << "\n";
    };
    printLine(table.columns, nullptr);
    std::vector<std::string> rule;
    for (size_t width : widths)
        rule.push_back(std::string(width, '-'));
    printLine(rule, nullptr);
    for (size_t r = 0; r < texts.size(); ++r)
        printLine(texts[r], &table.rows[r]);
}

std::string csvField(const std::string &text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string field = "\"";
    for (char c : text) {
        if (c == '"')
            field += '"';
        field += c;
    }
    return field + "\"";
}

void printCsvLine(std::ostream &out, const std::vector<std::string> &fields) {
    for (size_t i = 0; i < fields.size(); ++i)
        out << (i ? "," : "") << csvField(fields[i]);
    out << "\r\n";
}

void printCsv(std::ostream &out, const Table &table) {
    printCsvLine(out, table.columns);
    for (const auto &row : table.rows) {
        std::vector<std::string> fields;
        for (const Cell &cell : row)
            fields.push_back(cellText(cell));
        printCsvLine(out, fields);
    }
}

void printHtml(std::ostream &out, const Table &table, const std::string &title) {
    out << "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" << htmlEscaped(title)
        << "</title>\n<style>table{border-collapse:collapse}th,td{border:1px solid #999;padding:2px 6px;"
           "text-align:left}td.n{text-align:right}</style>\n</head>\n<body>\n<h1>"
        << htmlEscaped(title) << "</h1>\n<table>\n<thead><tr>";
    for (const std::string &column : table.columns)
        out << "<th>" << htmlEscaped(column) << "</th>";
    out << "</tr></thead>\n<tbody>\n";
    for (const auto &row : table.rows) {
        out << "<tr>";
        for (const Cell &cell : row)
            out << (cell.is_number() ? "<td class=\"n\">" : "<td>") << htmlEscaped(cellText(cell)) << "</td>";
        out << "</tr>\n";
    }
    out << "</tbody>\n</table>\n</body>\n</html>\n";
}

} // namespace

std::string htmlEscaped(const std::string &text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

nlohmann::ordered_json Table::toJson() const {
    std::vector<std::string> keys;
    for (const std::string &column : columns)
        keys.push_back(jsonKey(column));
    return toJson(keys);
}

nlohmann::ordered_json Table::toJson(const std::vector<std::string> &keys) const {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const auto &row : rows) {
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (size_t c = 0; c < keys.size() && c < row.size(); ++c)
            object[keys[c]] = row[c];
        array.push_back(std::move(object));
    }
    return array;
}

std::string jsonKey(const std::string &title) {
    std::string key;
    for (char c : title) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!key.empty() && key.back() != '_')
            key += '_';
    }
    while (!key.empty() && key.back() == '_')
        key.pop_back();
    return key;
}

std::string cellText(const Cell &cell) {
    if (cell.is_null())
        return "";
    if (cell.is_string())
        return cell.get<std::string>();
    if (cell.is_boolean())
        return cell.get<bool>() ? "yes" : "no";
    if (cell.is_array()) {
        std::string text;
        for (const Cell &item : cell)
            text += (text.empty() ? "" : " ") + cellText(item);
        return text;
    }
    return cell.dump();
}

void printTable(std::ostream &out, const Table &table, Format format, const std::string &title) {
    switch (format) {
    case Format::Text:
        printText(out, table);
        break;
    case Format::Csv:
        printCsv(out, table);
        break;
    case Format::Json:
        printJson(out, table.toJson());
        break;
    case Format::Html:
        printHtml(out, table, title);
        break;
    }
}

void printRecord(std::ostream &out, const Record &record) {
    size_t width = 0;
    for (const Field &field : record)
        width = std::max(width, displayWidth(field.title));
    for (const Field &field : record) {
        std::string line =
            field.title + std::string(width - displayWidth(field.title) + 2, ' ') + oneLine(cellText(field.value));
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << "\n";
    }
}

nlohmann::ordered_json recordJson(const Record &record) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (const Field &field : record)
        object[field.key] = field.value;
    return object;
}

void printJson(std::ostream &out, const nlohmann::ordered_json &value) {
    out << value.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

CLI::Option *addFormatOption(CLI::App &command, Format &format, const std::vector<Format> &allowed) {
    std::vector<std::string> names;
    for (Format each : allowed)
        names.push_back(formatNames.at(each));
    format = allowed.front();
    auto choose = [&format](const std::string &name) {
        for (const auto &known : formatNames)
            if (known.second == name)
                format = known.first;
    };
    return command
        .add_option_function<std::string>(
            "--format", choose, "Output format: " + CLI::detail::join(names, ", ") + " (default " + names.front() + ")")
        ->check(CLI::IsMember(names))
        ->option_text("FORMAT");
}

} // namespace partlib
