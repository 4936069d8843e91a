// Reading every detail of a 10,000-part sample library (1,000 part
// definitions) from a SQLite file three ways:
//   walk:         the host's walk through the per-definition readers: for
//                 each definition its pins, pin-equivalence groups and their
//                 pins, gates and their pins, gate swaps, their members and
//                 the members' pins, and its attributes;
//   bare:         the same statements (each main query and its count) run
//                 with sqlite3_prepare / step / finalize, the columns copied
//                 into buffers of the accessors' widths;
//   library-wide: the five library-wide readers, one query (and one count)
//                 each.
// Prints the best of three runs of each and the ratios (targets: walk within
// 1.5 times bare; library-wide at least 5 times faster than the walk).

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/CTraxDBSchema.h"
#include "ctraxdbpartlib/readers/CTraxDBLibReader.h"
#include "interface/AllAttributeAccess.h"
#include "interface/AllGateAccess.h"
#include "interface/AllGateSwapAccess.h"
#include "interface/AllPinDataAccess.h"
#include "interface/AllPinEquivAccess.h"
#include "interface/AttributeAccess.h"
#include "interface/Exception.h"
#include "interface/GateAccess.h"
#include "interface/GateDataAccess.h"
#include "interface/GateSwapAccess.h"
#include "interface/GateSwapGateAccess.h"
#include "interface/GateSwapPinDataAccess.h"
#include "interface/LibraryAccess.h"
#include "interface/PartDefAccess.h"
#include "interface/PinDataAccess.h"
#include "interface/PinEquivAccess.h"
#include "interface/PinEquivDataAccess.h"
#include "bench/BareSqlite.h"
#include "tools/samplelib/SampleLibrary.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace {

constexpr int PARTS = 10000;

// What every way adds up: one per leaf detail row (a pin, a pin of an
// equivalence group, of a gate or of a swap gate, an attribute) plus the
// length of its pin identifier or attribute name, so that all three can be
// checked to have read the same.
struct Tally {
    size_t rows = 0;
    size_t bytes = 0;
    void add(bool isNull, const char *text) {
        ++rows;
        bytes += isNull ? 0 : std::strlen(text);
    }
    bool operator==(const Tally &other) const { return rows == other.rows && bytes == other.bytes; }
};

// ---- The walk through the per-definition readers --------------------------

template <class T, class F> void each(const std::shared_ptr<Reader<T>> &reader, F take) {
    (void)reader->getCount();
    while (std::shared_ptr<T> record = reader->getNext())
        take(*record);
}

Tally walk(LibraryAccess &library) {
    Tally tally;
    char text[256];
    bool isNull;
    int value;
    each(library.getPartDefReader(0), [&](PartDefAccess &definition) {
        each(definition.getPinDataReader(), [&](PinDataAccess &pin) {
            pin.getName(isNull, text, sizeof text);
            pin.getLabel(isNull, text, sizeof text);
            pin.getSignal(isNull, text, sizeof text);
            pin.getType(isNull, value);
            pin.getLoading(isNull, value);
            pin.getPosition(isNull, value);
            pin.getPinIdentifier(isNull, text, sizeof text);
            tally.add(isNull, text);
        });
        each(definition.getPinEquivReader(), [&](PinEquivAccess &group) {
            group.getEquivIndex(value);
            each(group.getEquivilentPins(), [&](PinEquivDataAccess &pin) {
                pin.getPinIdentifier(isNull, text, sizeof text);
                tally.add(isNull, text);
            });
        });
        each(definition.getGateReader(), [&](GateAccess &gate) {
            gate.getName(text, sizeof text);
            gate.getAltName(isNull, text, sizeof text);
            each(gate.getGateDataReader(), [&](GateDataAccess &pin) {
                bool flag = true;
                pin.getPinIdentifier(isNull, text, sizeof text, flag);
                tally.add(isNull, text);
            });
        });
        each(definition.getGateSwapReader(), [&](GateSwapAccess &swap) {
            swap.getName(text, sizeof text);
            each(swap.getGateSwapGateReader(), [&](GateSwapGateAccess &member) {
                member.getEquivType(value);
                each(member.getGateSwapPinDataReader(), [&](GateSwapPinDataAccess &pin) {
                    pin.getPinIdentifier(isNull, text, sizeof text);
                    tally.add(isNull, text);
                });
            });
        });
        each(definition.getAttributesReader(), [&](AttributeAccess &attribute) {
            attribute.getValue(text, sizeof text);
            attribute.getType(value);
            attribute.getReadOnly(value);
            attribute.getName(text, sizeof text, false);
            tally.add(false, text);
        });
    });
    return tally;
}

// ---- The library-wide readers -----------------------------------------------

Tally libraryWide(LibraryAccess &library) {
    Tally tally;
    char text[256];
    bool isNull;
    int value;
    each(library.getAllPinDataReader(""), [&](AllPinDataAccess &pin) {
        pin.getPartDefID(value);
        pin.getPinEquivGroupID(isNull, value);
        pin.getName(isNull, text, sizeof text);
        pin.getLabel(isNull, text, sizeof text);
        pin.getSignal(isNull, text, sizeof text);
        pin.getType(isNull, value);
        pin.getLoading(isNull, value);
        pin.getPosition(isNull, value);
        pin.getPinIdentifier(isNull, text, sizeof text);
        tally.add(isNull, text);
    });
    each(library.getAllPinEquivReader(""), [&](AllPinEquivAccess &pin) {
        pin.getPartDefID(value);
        pin.getPinEquivID(value);
        pin.getEquivIndex(value);
        pin.getPinIdentifier(isNull, text, sizeof text);
        tally.add(isNull, text);
    });
    each(library.getAllGateReader(""), [&](AllGateAccess &gate) {
        gate.getPartDefID(value);
        gate.getName(text, sizeof text);
        gate.getAltName(isNull, text, sizeof text);
        (void)gate.getID();
        gate.getPinIdentifier(isNull, text, sizeof text);
        tally.add(isNull, text);
    });
    each(library.getAllGateSwapReader(""), [&](AllGateSwapAccess &swap) {
        swap.getPartDefID(value);
        swap.getName(text, sizeof text);
        (void)swap.getID();
        swap.getEquivType(value);
        swap.getGateEquivGateID(value);
        swap.getPinIdentifier(isNull, text, sizeof text);
        tally.add(isNull, text);
    });
    each(library.getAllAttributeReader(""), [&](AllAttributeAccess &attribute) {
        attribute.getPartDefID(value);
        attribute.getValue(text, sizeof text);
        attribute.getType(value);
        attribute.getReadOnly(value);
        attribute.getName(text, sizeof text, false);
        tally.add(false, text);
    });
    return tally;
}

// ---- The bare walk ----------------------------------------------------------

volatile long sink; // the integers the bare walk reads go here

Tally bareWalk(const std::string &file, int libraryId) {
    Bare bare(file);
    Tally tally;
    char name[51], label[51], signal[49], pin[11], alt[51], value[256], stem[21], pspice[81], longValue[256];
    int number = 0;
    std::vector<int> definitions;
    bare.read("SELECT Count(*) FROM [Part_Definition] WHERE [Library_ID] = ?;",
              "SELECT [Name],[PCB_component_name],[PCB_alternate_name],[Part_def_value],[Component_name_stem],"
              "[PSpice_data],[Max_connector_pins],[Gate_swapping],[Pin_num_name],[Is_FPGA],[Library_ID],[ID] from "
              "[Part_Definition] WHERE [Library_ID] = ? ORDER BY([ID]);",
              libraryId, [&](sqlite3_stmt *s) {
                  Bare::text(s, 0, name, sizeof name);
                  Bare::text(s, 1, label, sizeof label);
                  Bare::text(s, 2, alt, sizeof alt);
                  Bare::text(s, 3, longValue, sizeof longValue);
                  Bare::text(s, 4, stem, sizeof stem);
                  Bare::text(s, 5, pspice, sizeof pspice);
                  for (int c = 6; c < 11; ++c)
                      number += Bare::number(s, c);
                  definitions.push_back(Bare::number(s, 11));
              });
    for (int definition : definitions) {
        bare.read("SELECT Count(*) FROM [Pin_Data] WHERE [Part_def_ID] = ?;",
                  "SELECT [Pin_identifier],[Name],[Label],[Signal],[Pin_type],[Loading],[Pin_position],[Equiv_group],"
                  "[Part_def_ID],[ID] FROM [Pin_Data] WHERE [Part_def_ID] = ? ORDER BY([ID]);",
                  definition, [&](sqlite3_stmt *s) {
                      bool isNull = Bare::text(s, 0, pin, sizeof pin);
                      Bare::text(s, 1, name, 11);
                      Bare::text(s, 2, label, sizeof label);
                      Bare::text(s, 3, signal, sizeof signal);
                      for (int c = 4; c < 10; ++c)
                          number += Bare::number(s, c);
                      tally.add(isNull, pin);
                  });
        std::vector<int> groups;
        bare.read("SELECT Count(*) FROM [Pin_Equiv] WHERE [Part_def_ID] = ?;",
                  "SELECT [ID],[Part_def_ID] FROM [Pin_Equiv] WHERE [Part_def_ID] = ? ORDER BY([ID]);", definition,
                  [&](sqlite3_stmt *s) { groups.push_back(Bare::number(s, 0)); });
        for (int group : groups)
            bare.read("SELECT Count(*) FROM [Pin_Data] WHERE [Equiv_group] = ?;",
                      "SELECT [Pin_identifier],[Equiv_group] FROM [Pin_Data] WHERE [Equiv_group] = ?;", group,
                      [&](sqlite3_stmt *s) {
                          bool isNull = Bare::text(s, 0, pin, sizeof pin);
                          number += Bare::number(s, 1);
                          tally.add(isNull, pin);
                      });
        std::vector<int> gates;
        bare.read("SELECT Count(*) FROM [Gate] WHERE [Part_def_ID] = ?",
                  "SELECT [ID],[Name],[Alt_name],[Part_def_ID] FROM [Gate] WHERE [Part_def_ID] = ? ORDER BY([ID]);",
                  definition, [&](sqlite3_stmt *s) {
                      gates.push_back(Bare::number(s, 0));
                      Bare::text(s, 1, name, sizeof name);
                      Bare::text(s, 2, alt, sizeof alt);
                      number += Bare::number(s, 3);
                  });
        for (int gate : gates)
            bare.read("SELECT Count(*) FROM [Gate_has_Pin_Data] WHERE [Gate_ID] = ?",
                      "SELECT [Pin_Data].[Pin_identifier] FROM [Gate_has_Pin_Data],[Pin_Data] WHERE "
                      "[Gate_has_Pin_Data].[Pin_data_ID]=[Pin_Data].[ID] AND [Gate_has_Pin_Data].[Gate_ID] = ? "
                      "ORDER BY([Gate_has_Pin_Data].[ID]);",
                      gate, [&](sqlite3_stmt *s) { tally.add(Bare::text(s, 0, pin, sizeof pin), pin); });
        std::vector<int> swaps;
        bare.read("SELECT Count(*) FROM [Gate_Equiv] WHERE [Part_def_ID] = ?;",
                  "SELECT [ID],[Name],[Part_def_ID] FROM [Gate_Equiv] WHERE [Part_def_ID] = ? ORDER BY([ID]);",
                  definition, [&](sqlite3_stmt *s) {
                      swaps.push_back(Bare::number(s, 0));
                      Bare::text(s, 1, name, sizeof name);
                      number += Bare::number(s, 2);
                  });
        for (int swap : swaps) {
            std::vector<int> members;
            bare.read("SELECT Count(*) FROM [Gate_Equiv_Gate] WHERE [Gate_equiv_ID] = ?;",
                      "SELECT [ID],[Gate_equiv_ID],[Equiv_type] FROM [Gate_Equiv_Gate] WHERE [Gate_equiv_ID] = ? "
                      "ORDER BY([ID]);",
                      swap, [&](sqlite3_stmt *s) {
                          members.push_back(Bare::number(s, 0));
                          number += Bare::number(s, 1) + Bare::number(s, 2);
                      });
            for (int member : members)
                bare.read(
                    "SELECT Count(*) FROM [Gate_Equiv_has_Pin_Data] WHERE [Gate_equiv_gate_ID] = ?;",
                    "SELECT [Pin_Data].[Pin_identifier] FROM [Gate_Equiv_has_Pin_Data],[Pin_Data] WHERE "
                    "[Gate_Equiv_has_Pin_Data].[Pin_data_ID]=[Pin_Data].[ID] AND "
                    "[Gate_Equiv_has_Pin_Data].[Gate_equiv_gate_ID] = ? ORDER BY([Gate_Equiv_has_Pin_Data].[ID]);",
                    member, [&](sqlite3_stmt *s) { tally.add(Bare::text(s, 0, pin, sizeof pin), pin); });
        }
        bare.read("SELECT Count(*) FROM [Attributes] WHERE [Part_def_ID] = ?;",
                  "SELECT [Name],[Attribute_value],[Usage_type],[Read_Only],[Part_def_ID] FROM [Attributes] WHERE "
                  "[Part_def_ID] = ? ORDER BY([Name]);",
                  definition, [&](sqlite3_stmt *s) {
                      Bare::text(s, 0, name, sizeof name);
                      Bare::text(s, 1, value, sizeof value);
                      number += Bare::number(s, 2) + Bare::number(s, 3) + Bare::number(s, 4);
                      tally.add(false, name);
                  });
    }
    sink = number + bare.counted;
    return tally;
}

double bestOfThree(const std::function<Tally()> &run, Tally &result) {
    double best = 1e30;
    for (int i = 0; i < 3; ++i) {
        auto start = std::chrono::steady_clock::now();
        result = run();
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (elapsed.count() < best)
            best = elapsed.count();
    }
    return best;
}

int runBenchmark(const std::string &file) {
    const std::string init = "Provider=SQLite;Data Source=" + file;
    pathHandle_t path;
    {
        auto created = std::make_shared<CTraxDBPath>(init.c_str(), CTraxDBPath::SchemaCheck::Skip);
        CTraxDBSchema::createSchema(*created);
        SampleOptions options;
        options.parts = PARTS;
        SampleCounts counts = writeSampleLibrary(*created, options);
        std::printf("bench_read_walk: %d parts, %d part definitions, %d pins, %d gates, %d gate swaps, %d attributes\n",
                    counts.parts, counts.partDefinitions, counts.pins, counts.gates, counts.gateSwaps,
                    counts.attributes);
    }
    path = std::make_shared<CTraxDBPath>(init.c_str());
    std::shared_ptr<LibraryAccess> library = CTraxDBLibReader(path, nullptr).getNext();
    if (!library)
        throw std::runtime_error("no library");

    Tally viaWalk, viaBare, viaLibrary;
    double walkTime = bestOfThree([&] { return walk(*library); }, viaWalk);
    double bareTime = bestOfThree([&] { return bareWalk(file, library->getID()); }, viaBare);
    double libraryTime = bestOfThree([&] { return libraryWide(*library); }, viaLibrary);
    std::printf("  %zu detail rows\n", viaWalk.rows);
    std::printf("  walk through per-definition readers   %8.3f s\n", walkTime);
    std::printf("  bare sqlite3 walk, same statements    %8.3f s\n", bareTime);
    std::printf("  library-wide readers                  %8.3f s\n", libraryTime);
    std::printf("  ratio walk / bare                     %8.2f (target <= 1.50)\n", walkTime / bareTime);
    std::printf("  ratio walk / library-wide             %8.2f (target >= 5.00)\n", walkTime / libraryTime);
    if (!(viaWalk == viaLibrary) || !(viaWalk == viaBare)) {
        std::fprintf(stderr, "bench_read_walk: the three ways read different data (%zu/%zu/%zu rows)\n", viaWalk.rows,
                     viaBare.rows, viaLibrary.rows);
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
        status = runBenchmark(std::string(pattern) + "/walk.db");
    } catch (Exception *e) {
        std::fprintf(stderr, "bench_read_walk: %s\n", e->getMessage().c_str());
        delete e;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_read_walk: %s\n", e.what());
    }
    std::filesystem::remove_all(pattern);
    return status;
}
