#pragma once

// The JSON data of one library in the catalogue page:
//
//   {"name": ..., "enabled": ..., "comment": ...,
//    "folders": [[name, parent index or -1], ...]            the tree, depth first
//    "definitions": [{"name", "pcbComponentName", "pcbAlternateName", "value",
//                     "componentNameStem", "pspiceData", "maxConnectorPins",
//                     "gateSwapping", "pinNumName", "isFPGA",
//                     "pins": [[identifier, name, label, position, type, loading,
//                               signal, equivalence group index], ...],
//                     "gates": [[name, alternate name, [pin identifiers]], ...],
//                     "gateSwaps": [[name, [[equiv type, [pin identifiers]], ...]], ...],
//                     "pinEquivalences": [[pin identifiers], ...],
//                     "attributes": [[name, value, usage type, read-only], ...]}, ...],
//    "parts": [[name, number, description, pspice data, version, acceptance, type,
//               folder index, definition index], ...]}
//
// in the readers' orders; NULL is null. The text is safe inside a <script>
// element: every '<' is written as \u003c, and bytes that are no UTF-8 as
// U+FFFD.

#include "tools/partlib/LibraryFolders.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <ostream>
#include <string>
#include <unordered_map>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
class LibraryAccess;
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE

namespace partlib {

class CatalogueData {
public:
    CatalogueData(std::ostream &out, COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess &library,
                  const LibraryFolders &folders, std::function<void()> progress);
    void write();

private:
    void writeFolders();
    void writeDefinitions();
    void writeParts();

    std::ostream &out;
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess &library;
    const LibraryFolders &folders;
    std::function<void()> progress;
    std::string name;
    std::unordered_map<int, int> folderIndex;     // by folder ID
    std::unordered_map<int, int> definitionIndex; // by definition ID
};

// A JSON value as text that may stand inside a <script> element.
std::string scriptSafeJson(const nlohmann::json &value);

} // namespace partlib
