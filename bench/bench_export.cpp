// Exporting a 10,000-part sample library (1,000 part definitions) from a
// SQLite file to the library file format, three ways:
//   library-wide: partlib's export as it is: folders, definitions and parts
//                 through their readers, the details of all definitions
//                 through the five library-wide readers, written as JSON;
//   walk:         the same export with the details gathered through the
//                 per-definition readers (pins, equivalence groups and their
//                 pins, gates and their pins, gate swaps, their members and
//                 the members' pins, attributes), written the same way;
//   bare:         the statements of the library-wide export (each query and
//                 its count) run with sqlite3_prepare_v2 / step, every column
//                 copied into a buffer of its accessor's width; no JSON.
// Prints the best run of each and the ratios (targets: the walk at
// least 5 times slower than the library-wide export; the library-wide export
// within 1.3 times the bare program).

#include "tools/hostmodel/RecordFields.h"
#include "tools/partlib/LibraryExport.h"

#include "interface/PartLibInterface.h"

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/readers/TextWidths.h"
#include "tools/samplelib/SampleLibrary.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <streambuf>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

constexpr int PARTS = 10000;

// Counts the bytes written to it and keeps none.
class CountingBuffer : public std::streambuf {
public:
    size_t bytes = 0;

protected:
    std::streamsize xsputn(const char *, std::streamsize count) override {
        bytes += static_cast<size_t>(count);
        return count;
    }
    int overflow(int c) override {
        ++bytes;
        return c;
    }
};

// ---- The details through the per-definition readers -------------------------

template <class T, class F> void each(const std::shared_ptr<Reader<T>> &reader, F take) {
    while (std::shared_ptr<T> record = reader->getNext())
        take(*record);
}

class PerDefinitionDetails : public partlib::DetailSource {
public:
    void read(PartDefAccess &definition, partlib::DefinitionDetails &details) override {
        using namespace partlib;
        using namespace hostmodel;
        each(definition.getPinDataReader(), [&](PinDataAccess &pin) {
            details.pins.push_back(
                {nullableText<11>(pin, &PinDataAccess::getPinIdentifier),
                 nullableText<11>(pin, &PinDataAccess::getName), nullableText<51>(pin, &PinDataAccess::getLabel),
                 nullableNumber(pin, &PinDataAccess::getPosition), nullableNumber(pin, &PinDataAccess::getType),
                 nullableNumber(pin, &PinDataAccess::getLoading),
                 nullableText<DBIMPL::textWidth::PIN_SIGNAL>(pin, &PinDataAccess::getSignal), std::nullopt});
        });
        each(definition.getPinEquivReader(), [&](PinEquivAccess &group) {
            details.pinEquivalences.push_back({group.getID(), {}});
            each(group.getEquivilentPins(), [&](PinEquivDataAccess &pin) {
                details.pinEquivalences.back().pins.push_back(
                    nullableText<11>(pin, &PinEquivDataAccess::getPinIdentifier));
            });
        });
        // The per-definition pin record has no group: it is found by identifier.
        for (PinRecord &pin : details.pins)
            for (const PinEquivRecord &group : details.pinEquivalences)
                if (std::find(group.pins.begin(), group.pins.end(), pin.identifier) != group.pins.end())
                    pin.equivGroupID = group.id;
        each(definition.getGateReader(), [&](GateAccess &gate) {
            details.gates.push_back(
                {text<51>(gate, &GateAccess::getName), nullableText<51>(gate, &GateAccess::getAltName), {}});
            each(gate.getGateDataReader(), [&](GateDataAccess &pin) {
                char identifier[11] = "";
                bool isNull = false, flag = true;
                pin.getPinIdentifier(isNull, identifier, sizeof identifier, flag);
                details.gates.back().pins.push_back(isNull ? Text() : Text(identifier));
            });
        });
        each(definition.getGateSwapReader(), [&](GateSwapAccess &swap) {
            details.gateSwaps.push_back({text<51>(swap, &GateSwapAccess::getName), {}});
            each(swap.getGateSwapGateReader(), [&](GateSwapGateAccess &member) {
                details.gateSwaps.back().gates.push_back({number(member, &GateSwapGateAccess::getEquivType), {}});
                each(member.getGateSwapPinDataReader(), [&](GateSwapPinDataAccess &pin) {
                    details.gateSwaps.back().gates.back().pins.push_back(
                        nullableText<11>(pin, &GateSwapPinDataAccess::getPinIdentifier));
                });
            });
        });
        each(definition.getAttributesReader(), [&](AttributeAccess &attribute) {
            details.attributes.push_back({text<DBIMPL::textWidth::ATTRIBUTE_NAME>(attribute, &AttributeAccess::getName),
                                          text<256>(attribute, &AttributeAccess::getValue),
                                          number(attribute, &AttributeAccess::getType),
                                          number(attribute, &AttributeAccess::getReadOnly)});
        });
    }
};

size_t exportThrough(const pathHandle_t &path, const partlib::DetailSourceFactory &details) {
    CountingBuffer counter;
    std::ostream out(&counter);
    partlib::ExportOptions options;
    options.details = details;
    partlib::exportLibraries(path, out, options);
    return counter.bytes;
}

// ---- The bare program -------------------------------------------------------

volatile size_t sink;

// Runs a statement with an optional integer parameter and copies every
// column of every row: integers as they are, texts into a buffer of the
// column's width (the widths of the readers' accessors).
class Bare {
public:
    explicit Bare(const std::string &file) {
        if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + file);
    }
    ~Bare() { sqlite3_close(db); }

    void read(const char *sql, std::initializer_list<size_t> widths, int param = 0) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
        if (sqlite3_bind_parameter_count(stmt) > 0)
            sqlite3_bind_int(stmt, 1, param);
        char buffer[256];
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            int column = 0;
            for (size_t width : widths) {
                if (sqlite3_column_type(stmt, column) == SQLITE_NULL) {
                    ++nulls;
                } else if (width == 0) {
                    numbers += static_cast<size_t>(sqlite3_column_int(stmt, column));
                } else {
                    const unsigned char *value = sqlite3_column_text(stmt, column);
                    size_t length = static_cast<size_t>(sqlite3_column_bytes(stmt, column));
                    length = std::min(length, width - 1);
                    std::memcpy(buffer, value, length);
                    buffer[length] = '\0';
                    bytes += std::strlen(buffer);
                }
                ++column;
            }
            ++rows;
        }
        sqlite3_finalize(stmt);
    }

    size_t rows = 0, nulls = 0, numbers = 0, bytes = 0;

private:
    sqlite3 *db = nullptr;
};

// 0 marks an integer column.
size_t bareExport(const std::string &file, int library) {
    Bare bare(file);
    bare.read("SELECT [Name],[ID],[Enabled],[Comment] from [Library] ORDER BY([Name]);", {51, 0, 0, 256});
    bare.read("SELECT Count(*) FROM [Library];", {0});
    bare.read("SELECT [Hierarchy].[Name],[Hierarchy].[Parent_ID],[Hierarchy].[ID],[Hierarchy].[Library_ID],[Parts]."
              "[Name] FROM [Hierarchy] LEFT OUTER JOIN [Parts] ON [Parts].[Hierarchy_ID]=[Hierarchy].[ID] WHERE "
              "[Hierarchy].[Library_ID] = ? ORDER BY [Hierarchy].[Parent_ID],[Hierarchy].[Name],[Parts].[Name];",
              {51, 0, 0, 0, 51}, library);
    bare.read("SELECT Count(*) FROM [Hierarchy] LEFT OUTER JOIN [Parts] ON [Parts].[Hierarchy_ID]=[Hierarchy].[ID] "
              "WHERE [Hierarchy].[Library_ID] = ?;",
              {0}, library);
    bare.read("SELECT Count(*) FROM [Part_Definition] WHERE [Library_ID] = ?;", {0}, library);
    bare.read("SELECT [Name],[PCB_component_name],[PCB_alternate_name],[Part_def_value],[Component_name_stem],"
              "[PSpice_data],[Max_connector_pins],[Gate_swapping],[Pin_num_name],[Is_FPGA],[Library_ID],[ID] from "
              "[Part_Definition] WHERE [Library_ID] = ? ORDER BY([ID]);",
              {51, 51, 51, 256, 21, 81, 0, 0, 0, 0, 0, 0}, library);
    bare.read("SELECT Count(*) FROM [Parts] WHERE [Library_ID] = ?;", {0}, library);
    bare.read("SELECT [Name],[Part_number],[Description],[PSpice_data],[Part_Acceptance],[Part_version],[Library_ID],"
              "[Part_def_ID],[Hierarchy_ID],[ID],[Part_Type] FROM [Parts] WHERE [Library_ID] = ? ORDER BY([Name]);",
              {51, 51, 256, 81, 256, 0, 0, 0, 0, 0, 0}, library);
    const struct {
        const char *from, *select, *order;
        std::initializer_list<size_t> widths;
    } details[] = {
        {"[Part_Definition] INNER JOIN [Pin_Data] ON [Part_Definition].[ID]=[Pin_Data].[Part_def_ID]",
         "[Part_Definition].[ID],[Pin_Data].[Pin_identifier],[Pin_Data].[Name],[Pin_Data].[Label],[Pin_Data].[Signal],"
         "[Pin_Data].[Pin_type],[Pin_Data].[Loading],[Pin_Data].[Pin_position],[Pin_Data].[Equiv_group],[Pin_Data]."
         "[ID]",
         "[Part_Definition].[ID],[Pin_Data].[Pin_identifier]",
         {0, 11, 11, 51, 49, 0, 0, 0, 0, 0}},
        {"([Part_Definition] INNER JOIN [Pin_Equiv] ON [Part_Definition].[ID]=[Pin_Equiv].[Part_def_ID]) INNER JOIN "
         "[Pin_Data] on [Pin_Equiv].[ID]=[Pin_Data].[Equiv_group]",
         "[Part_Definition].[ID],[Pin_Equiv].[ID],[Pin_Data].[Pin_identifier]",
         "[Part_Definition].[ID],[Pin_Equiv].[ID],[Pin_Data].[Pin_identifier]",
         {0, 0, 11}},
        {"[Part_Definition] INNER JOIN [Attributes] ON [Part_Definition].[ID]=[Attributes].[Part_def_ID]",
         "[Part_Definition].[ID], [Attributes].[Name],[Attributes].[Attribute_value],[Attributes].[Usage_type],"
         "[Attributes].[Read_Only]",
         "[Part_Definition].[ID],[Attributes].[Name]",
         {0, 51, 256, 0, 0}},
        {"(([Part_Definition] INNER JOIN [Gate] ON [Part_Definition].[ID]=[Gate].[Part_def_ID]) LEFT OUTER JOIN "
         "[Gate_has_Pin_Data] ON [Gate_has_Pin_Data].[Gate_ID]=[Gate].[ID]) LEFT OUTER JOIN [Pin_Data] ON "
         "[Pin_Data].[ID]=[Gate_has_Pin_Data].[Pin_data_ID]",
         "[Part_Definition].[ID],[Gate].[Name],[Gate].[Alt_name],[Gate].[ID],[Pin_Data].[Pin_identifier]",
         "[Part_Definition].[ID],[Gate].[ID],[Gate_has_Pin_Data].[ID]",
         {0, 51, 51, 0, 11}},
        {"((([Part_Definition] INNER JOIN [Gate_Equiv] ON [Part_Definition].[ID]=[Gate_Equiv].[Part_def_ID]) INNER "
         "JOIN [Gate_Equiv_Gate] ON [Gate_Equiv_Gate].[Gate_equiv_ID]=[Gate_Equiv].[ID]) INNER JOIN "
         "[Gate_Equiv_has_Pin_Data] ON [Gate_Equiv_has_Pin_Data].[Gate_equiv_gate_ID]=[Gate_Equiv_Gate].[ID]) INNER "
         "JOIN [Pin_Data] ON [Pin_Data].[ID]=[Gate_Equiv_has_Pin_Data].[Pin_data_ID]",
         "[Part_Definition].[ID],[Gate_Equiv].[Name],[Gate_Equiv].[ID],[Gate_Equiv_Gate].[Equiv_type],"
         "[Gate_Equiv_Gate].[ID],[Gate_Equiv_has_Pin_Data].[ID],[Pin_Data].[Pin_identifier]",
         "[Part_Definition].[ID],[Gate_Equiv].[ID],[Gate_Equiv_Gate].[ID],[Gate_Equiv_has_Pin_Data].[ID]",
         {0, 51, 0, 0, 0, 0, 11}},
    };
    const std::string where = " WHERE [Part_Definition].[Library_ID] = ?";
    for (const auto &detail : details) {
        bare.read((std::string("SELECT ") + detail.select + " FROM " + detail.from + where + " ORDER BY " +
                   detail.order + ";")
                      .c_str(),
                  detail.widths, library);
        bare.read((std::string("SELECT Count(*) FROM ") + detail.from + where + ";").c_str(), {0}, library);
    }
    sink = bare.nulls + bare.numbers + bare.bytes;
    return bare.rows;
}

// The time of one run, and what it returned.
double timed(const std::function<size_t()> &run, size_t &result) {
    auto start = std::chrono::steady_clock::now();
    result = run();
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

int runBenchmark(const std::string &file) {
    const std::string init = "Provider=SQLite;Data Source=" + file;
    {
        CTraxDBPath created(init.c_str(), CTraxDBPath::SchemaCheck::Skip);
        CTraxDBSchema::createSchema(created);
        SampleOptions options;
        options.parts = PARTS;
        SampleCounts counts = writeSampleLibrary(created, options);
        std::printf("bench_export: %d parts, %d part definitions, %d pins, %d gates, %d gate swaps, %d attributes\n",
                    counts.parts, counts.partDefinitions, counts.pins, counts.gates, counts.gateSwaps,
                    counts.attributes);
    }
    pathHandle_t path = std::make_shared<CTraxDBPath>(init.c_str());

    size_t wideBytes = 0, walkBytes = 0, bareRows = 0;
    // The runs of the three take turns, so that a slow spell of the machine
    // falls on each of them alike; the best of each is taken. The two that
    // are compared closely run three times as often as the walk.
    constexpr int ROUNDS = 15, WALKS = 5;
    double wideTime = 1e30, walkTime = 1e30, bareTime = 1e30;
    for (int round = 0; round < ROUNDS; ++round) {
        wideTime = std::min(wideTime, timed([&] { return exportThrough(path, {}); }, wideBytes));
        bareTime = std::min(bareTime, timed([&] { return bareExport(file, 1); }, bareRows));
        if (round % (ROUNDS / WALKS) == 0)
            walkTime = std::min(walkTime, timed(
                                              [&] {
                                                  return exportThrough(path, [](LibraryAccess &) {
                                                      return std::make_unique<PerDefinitionDetails>();
                                                  });
                                              },
                                              walkBytes));
    }
    std::printf("  library file of %zu bytes; bare program read %zu rows\n", wideBytes, bareRows);
    std::printf("  export, library-wide readers          %8.4f s\n", wideTime);
    std::printf("  export, per-definition walk           %8.4f s\n", walkTime);
    std::printf("  bare sqlite3 program, same queries    %8.4f s\n", bareTime);
    std::printf("  ratio walk / library-wide             %8.2f (target >= 5.00)\n", walkTime / wideTime);
    std::printf("  ratio library-wide / bare             %8.2f (target <= 1.30)\n", wideTime / bareTime);
    if (walkBytes != wideBytes) {
        std::fprintf(stderr, "bench_export: the two exports differ in size (%zu vs %zu bytes)\n", walkBytes, wideBytes);
        return 1;
    }
    return 0;
}

} // namespace

int main() {
    char pattern[] = "/tmp/txdb-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    int status = 1;
    try {
        status = runBenchmark(std::string(pattern) + "/export.db");
    } catch (Exception *e) {
        std::fprintf(stderr, "bench_export: %s\n", e->getMessage().c_str());
        delete e;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_export: %s\n", e.what());
    }
    std::filesystem::remove_all(pattern);
    return status;
}
