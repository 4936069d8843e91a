#pragma once

// A database of one test engine holding the part-library schema and the
// sample library, opened as a path, for the tests of readers and records.
//
//   txdbtest::SampleDatabase db(engine);          // schema + sample library
//   auto library = db.library();                   // the "Demo" library record
//   db.exec("UPDATE ...");                         // raw SQL for edge cases

#include "interface/Handles.h"
#include "interface/LibraryAccess.h"
#include "tools/samplelib/SampleLibrary.h"

#include <string>
#include <vector>

namespace txdbtest {

class SampleDatabase {
public:
    // A fresh database of `engine` ("SQLite" or "MariaDB") with the schema
    // created and, when `options.parts` is above 0, one sample library.
    explicit SampleDatabase(const std::string &engine,
                            const COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::SampleOptions &options = {});

    // The library of that name through the library reader, or an empty handle.
    std::shared_ptr<COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess> library(const std::string &name = "Demo");

    // A statement through the path's own session (brackets as in the
    // plug-in's SQL), and the first column of a query as texts / integers
    // (NULL as "<NULL>" / -99).
    void exec(const std::string &sql);
    std::vector<std::string> texts(const std::string &sql);
    std::vector<int> ints(const std::string &sql);

    std::string init;
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t path;
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::SampleCounts counts;
};

// The records a reader delivers, until its first empty handle.
template <class TReader> auto readAll(const std::shared_ptr<TReader> &reader) {
    std::vector<decltype(reader->getNext())> records;
    while (auto record = reader->getNext())
        records.push_back(record);
    return records;
}

} // namespace txdbtest
