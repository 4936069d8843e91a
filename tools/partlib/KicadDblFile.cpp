#include "tools/partlib/KicadDblFile.h"

#include "tools/partlib/Commands.h"
#include "tools/partlib/InputFile.h"
#include "tools/partlib/Output.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>

namespace partlib {

namespace {

using nlohmann::json;

// Reads the entries of one JSON object, naming the file and the entry in
// every complaint.
class Entries {
public:
    Entries(const json &object, std::string file, std::string where)
        : object(object), file(std::move(file)), where(std::move(where)) {
        if (!object.is_object())
            complain(this->where.empty() ? "the file" : this->where, "must be an object");
    }

    std::string text(const std::string &key, bool required) const {
        const auto found = object.find(key);
        if (found == object.end() || found->is_null()) {
            if (required)
                complain(place(key), "is missing");
            return std::string();
        }
        if (!found->is_string())
            complain(place(key), "must be a text");
        return found->get<std::string>();
    }

    const json &member(const std::string &key, json::value_t type, const char *kind) const {
        const auto found = object.find(key);
        if (found == object.end())
            complain(place(key), "is missing");
        if (found->type() != type)
            complain(place(key), std::string("must be ") + kind);
        return *found;
    }

    std::string place(const std::string &key) const { return where.empty() ? key : where + "." + key; }

    [[noreturn]] void complain(const std::string &entry, const std::string &problem) const {
        fail(printable(file) + " is not a KiCad database library file: " + printable(entry) + " " + problem);
    }

private:
    const json &object;
    std::string file, where;
};

// KiCad's ${CWD}: the folder of the .kicad_dbl file.
std::string expanded(std::string text, const std::string &path) {
    const std::string folder = std::filesystem::absolute(path).parent_path().lexically_normal().string();
    for (size_t at = 0; (at = text.find("${CWD}", at)) != std::string::npos; at += folder.size())
        text.replace(at, 6, folder);
    return text;
}

DblLibrary libraryOf(const json &entry, const std::string &path, const std::string &where) {
    const Entries entries(entry, path, where);
    DblLibrary library;
    library.name = entries.text("name", true);
    library.table = entries.text("table", true);
    library.key = entries.text("key", true);
    library.symbols = entries.text("symbols", true);
    library.footprints = entries.text("footprints", false);
    if (entry.contains("fields")) {
        const json &fields = entries.member("fields", json::value_t::array, "a list");
        for (size_t i = 0; i < fields.size(); ++i) {
            const Entries field(fields[i], path, entries.place("fields") + "[" + std::to_string(i) + "]");
            library.fields.push_back({field.text("column", true), field.text("name", true)});
        }
    }
    if (entry.contains("properties")) {
        const json &properties = entries.member("properties", json::value_t::object, "an object");
        const Entries named(properties, path, entries.place("properties"));
        for (const auto &property : properties.items())
            if (!property.value().is_boolean()) // a few KiCad versions allow flags here
                library.properties[property.key()] = named.text(property.key(), true);
    }
    return library;
}

} // namespace

std::vector<std::string> DblFile::namedColumns(const DblLibrary &library) {
    std::vector<std::string> columns{library.key, library.symbols};
    if (!library.footprints.empty())
        columns.push_back(library.footprints);
    for (const DblField &field : library.fields)
        columns.push_back(field.column);
    for (const auto &property : library.properties)
        columns.push_back(property.second);
    std::vector<std::string> once;
    for (const std::string &column : columns)
        if (std::find(once.begin(), once.end(), column) == once.end())
            once.push_back(column);
    return once;
}

DblFile parseDblFile(const std::string &text, const std::string &path) {
    json document;
    try {
        document = json::parse(text);
    } catch (const json::parse_error &e) {
        fail(printable(path) + " is not a KiCad database library file: not JSON (" + e.what() + ")");
    }
    const Entries top(document, path, "");
    DblFile file;
    file.path = path;
    file.name = top.text("name", false);
    const Entries source(top.member("source", json::value_t::object, "an object"), path, "source");
    const std::string type = source.text("type", true);
    if (type != "odbc")
        source.complain("source.type", "is \"" + printable(type) + "\", not \"odbc\"");
    file.dsn = source.text("dsn", false);
    file.username = source.text("username", false);
    file.password = source.text("password", false);
    file.connectionString = expanded(source.text("connection_string", false), path);
    if (file.dsn.empty() && file.connectionString.empty())
        source.complain("source", "names neither a dsn nor a connection_string");
    const json &libraries = top.member("libraries", json::value_t::array, "a list");
    if (libraries.empty())
        top.complain("libraries", "is empty");
    for (size_t i = 0; i < libraries.size(); ++i)
        file.libraries.push_back(libraryOf(libraries[i], path, "libraries[" + std::to_string(i) + "]"));
    return file;
}

DblFile readDblFile(const std::string &path) {
    checkInputFile(path, std::string(), "KiCad database library file");
    return parseDblFile(readInputFile(path, "KiCad database library file"), path);
}

} // namespace partlib
