#pragma once

// The catalogue: one self-contained HTML page of the chosen libraries for
// people to look at. The page holds the folder tree of each library with
// its part counts, written as HTML, and every library's folders, part
// definitions (fields, pins, gates, gate-swap and pin-equivalence groups,
// attributes) and parts as JSON data, from which its script draws the
// section of a definition, with an SVG drawing of each gate, when it is
// opened (by a search, a folder or a #part=NAME link). Nothing outside the
// file is loaded.
//
// Everything is read through the plug-in's readers inside one transaction,
// the details through the library-wide readers. Failures are raised as
// `COM_ORVEL_TRAX_PLDAIO_INTERFACE::Exception *`.

#include "interface/Handles.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace partlib {

struct CatalogueOptions {
    std::vector<std::string> libraries; // names; empty: every library
    std::string title;                  // the page's title
    std::function<void()> progress;     // optional: called after each definition and part
};

// Writes the catalogue page of the open database to `out`; an unknown
// library name is refused before anything is written.
void writeCatalogue(const COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t &path, std::ostream &out,
                    const CatalogueOptions &options);

} // namespace partlib
