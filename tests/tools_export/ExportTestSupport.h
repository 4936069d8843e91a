#pragma once

// Sample databases for the export tests: the sample library "Demo", a second
// sample library and a small library of awkward rows, on each engine.

#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "interface/Exception.h"
#include "tools/partlib/LibraryExport.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

namespace exporttest {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;
using namespace partlib;
using Json = nlohmann::ordered_json;

extern const char *const SAMPLE_LIBRARY;
extern const char *const SECOND_LIBRARY;
// The library of awkward rows and the texts it holds.
extern const char *const EDGE_LIBRARY;
extern const char *const EDGE_TOP_FOLDER;
extern const char *const EDGE_SUB_FOLDER;
extern const char *const EDGE_EMPTY_FOLDER;
extern const char *const EDGE_DEFINITION;
extern const char *const EDGE_LABEL;
extern const char *const EDGE_ATTRIBUTE_VALUE;
extern const char *const EDGE_PART;

struct SampleDatabase {
    std::string init;
    std::shared_ptr<CTraxDBPath> path;
    CTraxDBPath &dbPath() { return *path; }
};

// The three libraries on an engine, built once per test program.
SampleDatabase &sampleDatabase(const std::string &engine);

// A new database holding the sample library "Demo" alone.
SampleDatabase sampleOnly(const std::string &engine, int parts = 300);

std::string exportToString(const pathHandle_t &path, const std::vector<std::string> &libraries = {});

// Runs `action`, expects an Exception and returns its message (deleted).
template <class F> std::string thrownMessage(F action) {
    try {
        action();
    } catch (Exception *e) {
        std::string message = e->getMessage();
        delete e;
        return message;
    }
    return "<no exception>";
}

} // namespace exporttest
