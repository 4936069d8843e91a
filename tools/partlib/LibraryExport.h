#pragma once

// Export of part libraries to the library file format (docs/library-format.md):
// one JSON document with everything the database holds of the chosen
// libraries, pretty-printed with a fixed key order so that the same library
// always gives the same bytes.
//
// The export reads through the plug-in's readers: libraries, the folder tree,
// the part definitions, the library-wide detail readers (one query per kind of
// detail for the whole library, merged with the definitions by definition ID)
// and the parts. Everything is read inside one transaction, so the file is one
// consistent picture of the database. Failures are raised as
// `COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *`.

#include "interface/Handles.h"
#include "tools/hostmodel/RecordFields.h"

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
class LibraryAccess;
class PartAccess;
class PartDefAccess;
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE

namespace partlib {

using hostmodel::Number;
using hostmodel::Text;

// The version written into the "format" field.
constexpr int LIBRARY_FORMAT_VERSION = 1;

// The fields of a part definition and of a part, read whole.
struct DefinitionFields {
    int id = 0;
    std::string name, pcbComponentName;
    Text pcbAlternateName, value, componentNameStem, pspiceData;
    int maxConnectorPins = 0;
    bool gateSwapping = false, pinNumName = false, isFPGA = false;
};
struct PartFields {
    std::string name;
    Text number, description, pspiceData;
    Number version;
    Text acceptance;
    Number type;
    int definitionID = 0;
};
DefinitionFields definitionFields(COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartDefAccess &definition);
PartFields partFields(COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartAccess &part);
// The same into `fields` of the part before, whose texts keep their buffers.
void readPartFields(COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartAccess &part, PartFields &fields);

// The details of one part definition, in the order the readers give them.
struct PinRecord {
    Text identifier, name, label;
    Number position, type, loading;
    Text signal;
    Number equivGroupID; // [Pin_Equiv].[ID] of the pin's group
};
struct GateRecord {
    std::string name;
    Text altName;
    std::vector<Text> pins; // identifiers in link order
};
struct SwapGateRecord {
    int equivType = 0;
    std::vector<Text> pins;
};
struct GateSwapRecord {
    std::string name;
    std::vector<SwapGateRecord> gates;
};
struct PinEquivRecord {
    int id = 0; // [Pin_Equiv].[ID]
    std::vector<Text> pins;
};
struct AttributeRecord {
    std::string name, value;
    int usageType = 0;
    int readOnly = 0;
};
struct DefinitionDetails {
    std::vector<PinRecord> pins;
    std::vector<GateRecord> gates;
    std::vector<GateSwapRecord> gateSwaps;
    std::vector<PinEquivRecord> pinEquivalences;
    std::vector<AttributeRecord> attributes;

    // Empties the lists and keeps their room for the next definition.
    void clear() {
        pins.clear();
        gates.clear();
        gateSwaps.clear();
        pinEquivalences.clear();
        attributes.clear();
    }
};

// The 0-based position of the pin's equivalence group in the definition's
// list, none for a pin of no group; a group the definition does not hold is
// refused, naming the definition as `where` does.
Number groupIndexOf(const PinRecord &pin, const DefinitionDetails &content, const std::string &where);

// Where the details of a library's definitions come from. The export asks
// for the definitions in the order of the definition reader (by ID).
class DetailSource {
public:
    virtual ~DetailSource() = default;
    // Fills `details` (empty on entry) for one definition.
    virtual void read(COM_ORVEL_TRAX_PLDAIO_INTERFACE::PartDefAccess &definition, DefinitionDetails &details) = 0;
    // Called after the last definition: raises when details were left over.
    virtual void finish() {}
};
using DetailSourceFactory =
    std::function<std::unique_ptr<DetailSource>(COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess &library)>;

// The library-wide readers of one library, merged by definition ID.
std::unique_ptr<DetailSource> libraryWideDetails(COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess &library);

// The reader, unless the database offers none: then a failure that names
// `what` ("part definitions"), as every reader of the export is opened.
[[noreturn]] void refuseMissingReader(const char *what);
template <class T> std::shared_ptr<T> opened(std::shared_ptr<T> reader, const char *what) {
    if (!reader)
        refuseMissingReader(what);
    return reader;
}

// Called after each definition and each part: the library's name, the items
// done and the library's total (definitions plus parts).
using ExportProgress = std::function<void(const std::string &library, long done, long total)>;

struct ExportOptions {
    std::vector<std::string> libraries; // names to export; empty: every library
    ExportProgress progress;            // optional
    DetailSourceFactory details;        // empty: libraryWideDetails
    // Told of every text longer than its column in characters (a SQLite
    // file may hold one), which the export writes whole and an import
    // refuses: the message names the library, the record and the column.
    std::function<void(const std::string &message)> longText; // optional
};

// The libraries of the open database named in `names` (every library when
// it is empty), in the reader's order (by name); an unknown name is refused.
std::vector<std::shared_ptr<COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess>>
chosenLibraries(const COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t &path, const std::vector<std::string> &names);

// Writes the libraries of the open database to `out`, in the database's
// order of libraries (by name). An unknown name is refused before anything is
// written.
void exportLibraries(const COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t &path, std::ostream &out,
                     const ExportOptions &options = {});

} // namespace partlib
