#pragma once

// A realistic sample part library, written with plain SQL into an opened
// part-library database: nested folders, part definitions with pins, gates
// and their pins, gate-swap groups with members and pins, pin-equivalence
// groups, attributes, and the parts built on them. The same options always
// give the same rows. Used by the tests, the benchmarks and the demo.

#include <cstdint>
#include <string>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBPath;

struct SampleOptions {
    std::string libraryName = "Demo";
    int parts = 300;          // number of parts; about one definition per ten parts
    int firstId = 1;          // first key of every table, so several libraries fit in one database
    bool hostileNames = true; // add parts whose texts hold quotes, brackets and backslashes
};

// What was written, counted per table.
struct SampleCounts {
    int libraries = 0, folders = 0, partDefinitions = 0, pins = 0, pinEquivs = 0, gates = 0, gatePins = 0,
        gateSwaps = 0, gateSwapGates = 0, gateSwapPins = 0, attributes = 0, parts = 0;
};

// Writes one library inside one transaction; returns the row counts.
SampleCounts writeSampleLibrary(CTraxDBPath &path, const SampleOptions &options);

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
