#include "tools/samplelib/SampleLibrary.h"

#include "ctraxdbpartlib/connection/CTraxDBPath.h"

#include <cstdio>
#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {
namespace {

std::string quoted(const std::string &text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

std::string number(long value) {
    return std::to_string(value);
}
const char *const NUL = "NULL";

// Rows of one table, sent as multi-row INSERT statements. The batches of
// the tables a row refers to are sent first, so that a full batch never
// reaches the database before the rows its foreign keys name.
class Batch {
public:
    Batch(CTraxDBPath &path, std::string table, std::string columns, std::vector<Batch *> parents = {})
        : path(path), table(std::move(table)), columns(std::move(columns)), parents(std::move(parents)) {}
    void add(const std::vector<std::string> &values) {
        std::string row = "(";
        for (size_t i = 0; i < values.size(); ++i)
            row += (i ? "," : "") + values[i];
        row += ")";
        rows.push_back(row);
        ++written;
        if (rows.size() == 200)
            flush();
    }
    void flush() {
        for (Batch *parent : parents)
            parent->flush();
        if (rows.empty())
            return;
        std::string sql = "INSERT INTO [" + table + "] (" + columns + ") VALUES ";
        for (size_t i = 0; i < rows.size(); ++i)
            sql += (i ? "," : "") + rows[i];
        path.execute(sql + ";");
        rows.clear();
    }
    int count() const { return written; }

private:
    CTraxDBPath &path;
    std::string table;
    std::string columns;
    std::vector<Batch *> parents;
    std::vector<std::string> rows;
    int written = 0;
};

// A kind of part definition the generator knows how to draw.
struct Family {
    const char *kind;      // used in names
    const char *component; // PCB component name (the classification reads it)
    const char *stem;
    int pins;
    const char *gate; // name of the gate(s); nullptr: no gate
    int gates;        // gates per definition; their pins split the pins evenly
    bool swapGates;   // gates form one swap group
    bool equivInputs; // the first two pins of each gate are equivalent
    int partType;
    const char *folder; // folder key, see folderTree
    const char *values[4];
};

const Family families[] = {
    {"RES", "R0603", "R", 2, "R", 1, false, true, 1, "SMD", {"10k", "4k7", "100R", "1M"}},
    {"RES", "RAXIAL", "R", 2, "R", 1, false, true, 1, "THT", {"220R", "1k", "47k", "2M2"}},
    {"CAP", "C0805", "C", 2, "C", 1, false, true, 1, "Ceramic", {"100n", "10n", "1u", "22p"}},
    {"CAP", "CP_RADIAL", "C", 2, "C", 1, false, false, 1, "Electrolytic", {"10u", "47u", "100u", "470u"}},
    {"DIODE", "SOD123", "D", 2, "D", 1, false, false, 1, "Diodes", {"1N4148", "BAT54", "1N5819", "BZX84"}},
    {"TRANS", "SOT23", "Q", 3, "Q", 1, false, false, 1, "Transistors", {"BC847", "BC857", "2N7002", "BSS138"}},
    {"NAND", "SO14", "U", 12, "NAND", 4, true, true, 1, "74HC", {"74HC00", "74HCT00", "74AC00", "74LS00"}},
    {"CONN", "HDR1X8", "J", 8, "CONNECTOR", 1, false, false, 2, "Headers", {"8way", "8way", "8way", "8way"}},
    {"TP", "TESTPOINT", "TP", 1, "TESTPOINT", 1, false, false, 4, "Test points", {"TP", "TP", "TP", "TP"}},
    {"STAR", "STARPOINTNF_1", "SP", 1, nullptr, 0, false, false, 16, "Star points", {"SP", "SP", "SP", "SP"}},
    {"JMP", "JUMPERNF_2", "JP", 2, nullptr, 0, false, false, 8, "Jumpers", {"0R", "0R", "0R", "0R"}},
};
constexpr int familyCount = sizeof(families) / sizeof(families[0]);

// Folders: name and parent index (-1 for the top).
struct FolderSpec {
    const char *name;
    int parent;
};
const FolderSpec folderTree[] = {
    {"root", -1},      {"Passives", 0},     {"Resistors", 1},
    {"SMD", 2},        {"THT", 2},          {"Capacitors", 1},
    {"Ceramic", 5},    {"Electrolytic", 5}, {"Semiconductors", 0},
    {"Diodes", 8},     {"Transistors", 8},  {"Logic", 0},
    {"74HC", 11},      {"Connectors", 0},   {"Headers", 13},
    {"Mechanical", 0}, {"Test points", 15}, {"Star points", 15},
    {"Jumpers", 15},   {"Obsolete", -1},
};
constexpr int folderCount = sizeof(folderTree) / sizeof(folderTree[0]);

int folderIndex(const char *name) {
    for (int i = 0; i < folderCount; ++i)
        if (std::string(folderTree[i].name) == name)
            return i;
    return 0;
}

} // namespace

SampleCounts writeSampleLibrary(CTraxDBPath &path, const SampleOptions &options) {
    const std::string &lib = options.libraryName;
    const int libraryId = options.firstId;
    int nextFolder = options.firstId, nextDef = options.firstId, nextPin = options.firstId, nextEquiv = options.firstId,
        nextGate = options.firstId, nextGatePin = options.firstId, nextSwap = options.firstId,
        nextSwapGate = options.firstId, nextSwapPin = options.firstId, nextPart = options.firstId;

    path.startTransaction();
    try {
        Batch library(path, "Library", "[ID],[Name],[Enabled],[Comment]");
        Batch hierarchy(path, "Hierarchy", "[ID],[Library_ID],[Name],[Parent_ID]");
        Batch defs(path, "Part_Definition",
                   "[ID],[Library_ID],[Name],[PCB_component_name],[PCB_alternate_name],[Part_def_value],"
                   "[Component_name_stem],[PSpice_data],[Max_connector_pins],[Gate_swapping],[Pin_num_name],[Is_FPGA]",
                   {&library});
        Batch pins(path, "Pin_Data",
                   "[ID],[Part_def_ID],[Pin_identifier],[Name],[Label],[Pin_position],[Pin_type],[Loading],[Signal],"
                   "[Equiv_group]",
                   {&defs});
        Batch equivs(path, "Pin_Equiv", "[ID],[Part_def_ID]", {&defs});
        Batch gates(path, "Gate", "[ID],[Part_def_ID],[Name],[Alt_name]", {&defs});
        Batch gatePins(path, "Gate_has_Pin_Data", "[ID],[Gate_ID],[Pin_data_ID]", {&gates, &pins});
        Batch swaps(path, "Gate_Equiv", "[ID],[Part_def_ID],[Name]", {&defs});
        Batch swapGates(path, "Gate_Equiv_Gate", "[ID],[Gate_equiv_ID],[Equiv_type]", {&swaps});
        Batch swapPins(path, "Gate_Equiv_has_Pin_Data", "[ID],[Gate_equiv_gate_ID],[Pin_data_ID]", {&swapGates, &pins});
        Batch attributes(path, "Attributes", "[Part_def_ID],[Name],[Attribute_value],[Usage_type],[Read_Only]",
                         {&defs});
        Batch parts(path, "Parts",
                    "[ID],[Library_ID],[Part_def_ID],[Hierarchy_ID],[Name],[Part_number],[Description],[PSpice_data],"
                    "[Part_version],[Part_Acceptance],[Part_Type]",
                    {&library, &hierarchy, &defs});

        library.add({number(libraryId), quoted(lib), "1", quoted("Sample library of " + lib)});
        library.flush();

        std::vector<int> folderIds(folderCount);
        for (int i = 0; i < folderCount; ++i) {
            folderIds[i] = nextFolder++;
            const FolderSpec &f = folderTree[i];
            hierarchy.add({number(folderIds[i]), number(libraryId), quoted(f.name),
                           f.parent < 0 ? NUL : number(folderIds[f.parent])});
        }
        hierarchy.flush();

        const int definitionCount = options.parts < 10 ? 1 : options.parts / 10;
        std::vector<int> defIds, defFamily;
        for (int d = 0; d < definitionCount; ++d) {
            const Family &fam = families[d % familyCount];
            const int defId = nextDef++;
            defIds.push_back(defId);
            defFamily.push_back(d % familyCount);
            char name[64];
            std::snprintf(name, sizeof name, "%s_%s_%s_%04d", lib.c_str(), fam.kind, fam.component, d);
            const bool connector = std::string(fam.gate ? fam.gate : "") == "CONNECTOR";
            defs.add({number(defId), number(libraryId), quoted(name), quoted(fam.component),
                      d % 3 == 0 ? quoted(std::string(fam.component) + "_ALT") : NUL,
                      d % 4 == 1 ? NUL : quoted(fam.values[d % 4]), quoted(fam.stem),
                      d % 5 == 0 ? NUL : quoted(std::string("X") + fam.stem + " 1 2 MODEL"),
                      connector ? number(fam.pins) : "0", fam.swapGates ? "1" : "0", d % 2 ? "1" : "0",
                      d % 29 == 7 ? "1" : "0"});

            // Pins, with the first two pins of each gate made equivalent.
            const int gateCount = fam.gate ? fam.gates : 0;
            const int pinsPerGate = gateCount ? fam.pins / gateCount : 0;
            std::vector<int> pinIds;
            std::vector<int> groupOfGate(gateCount, 0);
            if (fam.equivInputs)
                for (int g = 0; g < gateCount; ++g) {
                    groupOfGate[g] = nextEquiv++;
                    equivs.add({number(groupOfGate[g]), number(defId)});
                }
            for (int p = 0; p < fam.pins; ++p) {
                const int pinId = nextPin++;
                pinIds.push_back(pinId);
                const int gate = pinsPerGate ? p / pinsPerGate : -1;
                const bool input = gate >= 0 && p % pinsPerGate < 2 && pinsPerGate > 1;
                const bool equivalent = fam.equivInputs && input;
                std::string signal = p == 0 && d % 7 == 3 ? "A_VERY_LONG_SIGNAL_NAME_THAT_FILLS_THE_WHOLE_COLUMN_"
                                                          : (d % 6 == 2 ? std::string() : "N" + number(p + 1));
                signal = signal.substr(0, 50);
                pins.add({number(pinId), number(defId), quoted(number(p + 1)),
                          p % 4 == 3 ? NUL : quoted(std::string(input ? "IN" : "OUT") + number(p + 1)),
                          quoted("Pin " + number(p + 1)), number(p + 1), number(input ? 1 : 2),
                          p % 5 == 4 ? NUL : number(1), signal.empty() ? NUL : quoted(signal),
                          equivalent ? number(groupOfGate[gate]) : NUL});
            }

            // Gates, their pins linked output first, and one swap group over them.
            int swapId = 0;
            if (fam.swapGates && gateCount > 1) {
                swapId = nextSwap++;
                swaps.add({number(swapId), number(defId), quoted(std::string(fam.gate) + "_SWAP")});
            }
            for (int g = 0; g < gateCount; ++g) {
                const int gateId = nextGate++;
                std::string gateName = gateCount > 1 ? std::string(fam.gate) + char('A' + g) : fam.gate;
                gates.add({number(gateId), number(defId), quoted(gateName),
                           g % 2 ? quoted("") : (d % 2 ? NUL : quoted(gateName + "_ALT"))});
                std::vector<int> order;
                order.push_back(pinIds[g * pinsPerGate + pinsPerGate - 1]);
                for (int k = 0; k + 1 < pinsPerGate; ++k)
                    order.push_back(pinIds[g * pinsPerGate + k]);
                for (int pinId : order)
                    gatePins.add({number(nextGatePin++), number(gateId), number(pinId)});
                if (swapId) {
                    const int swapGateId = nextSwapGate++;
                    swapGates.add({number(swapGateId), number(swapId), number(1)});
                    for (int pinId : order)
                        swapPins.add({number(nextSwapPin++), number(swapGateId), number(pinId)});
                }
            }

            // Attributes, in no particular order of names.
            attributes.add({number(defId), quoted("Manufacturer"), quoted(d % 2 ? "Acme" : "Globex"), "1", "0"});
            attributes.add({number(defId), quoted("Datasheet"),
                            quoted("https://example.com/" + std::string(fam.kind) + "/" + number(d) + ".pdf"), "2",
                            d % 3 ? "1" : NUL});
            if (d % 2 == 0)
                attributes.add({number(defId), quoted("Height"), quoted(number(1 + d % 9) + " mm"), "3", "0"});
        }
        defs.flush();
        pins.flush();
        equivs.flush();
        gates.flush();
        gatePins.flush();
        swaps.flush();
        swapGates.flush();
        swapPins.flush();
        attributes.flush();

        for (int n = 0; n < options.parts; ++n) {
            const int d = n % definitionCount;
            const Family &fam = families[defFamily[d]];
            const int value = (n / definitionCount) % 4;
            char name[64];
            std::snprintf(name, sizeof name, "%s-%s%d-%s-%s", lib.c_str(), fam.stem, n + 1, fam.values[value],
                          fam.component);
            std::string partName = std::string(name).substr(0, 50);
            std::string description =
                std::string(fam.kind) + " " + fam.values[value] + " in " + fam.component + " package";
            if (options.hostileNames && n == 1) {
                partName = (lib + "-R [SMD] 'Ohm' \\ test").substr(0, 50);
                description = "'; DROP TABLE [Parts]; -- 100% [sic] \\n";
            }
            parts.add({number(nextPart++), number(libraryId), number(defIds[d]),
                       number(folderIds[folderIndex(fam.folder)]), quoted(partName),
                       n % 9 == 4 ? NUL : quoted(std::string(fam.kind) + "-" + number(100000 + n)),
                       n % 11 == 5 ? NUL : quoted(description), n % 13 == 6 ? NUL : quoted(fam.stem),
                       n % 7 == 3 ? NUL : number(1 + n % 3), n % 5 == 2 ? NUL : quoted(n % 2 ? "Approved" : ""),
                       number(fam.partType)});
        }
        parts.flush();
        path.commitTransation();

        SampleCounts counts;
        counts.libraries = library.count();
        counts.folders = hierarchy.count();
        counts.partDefinitions = defs.count();
        counts.pins = pins.count();
        counts.pinEquivs = equivs.count();
        counts.gates = gates.count();
        counts.gatePins = gatePins.count();
        counts.gateSwaps = swaps.count();
        counts.gateSwapGates = swapGates.count();
        counts.gateSwapPins = swapPins.count();
        counts.attributes = attributes.count();
        counts.parts = parts.count();
        return counts;
    } catch (...) {
        path.abortTransaction();
        throw;
    }
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
