#pragma once

// A database of one test engine holding the part-library schema and the
// sample library, opened as a path, for the tests of readers and records,
// and the helpers those tests read records with.
//
//   txdbtest::SampleDatabase db(engine);          // schema + sample library
//   auto library = db.library();                   // the "Demo" library record
//   db.exec("UPDATE ...");                         // raw SQL for edge cases

#include "interface/GateDataAccess.h"
#include "interface/Handles.h"
#include "interface/LibraryAccess.h"
#include "tests/support/TestUtil.h"
#include "tools/samplelib/SampleLibrary.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace txdbtest {

class SampleDatabase {
public:
    // A fresh database of `engine` ("SQLite" or "MariaDB") with the schema
    // created and, when `options.parts` is above 0, one sample library.
    explicit SampleDatabase(const std::string &engine,
                            const COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::SampleOptions &options = {});
    // The same in a database of its own (otherDatabase), beside the one above.
    static SampleDatabase other(const std::string &engine,
                                const COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::SampleOptions &options = {});

    // The library of that name through the library reader, or an empty handle.
    std::shared_ptr<COM_ORVEL_TRAX_PLDAIO_INTERFACE::LibraryAccess> library(const std::string &name = "Demo");

    // A statement through the path's own session (brackets as in the
    // plug-in's SQL), and the first column of a query as texts / integers
    // (NULL as "<NULL>" / -99).
    void exec(const std::string &sql);
    std::vector<std::string> texts(const std::string &sql);
    std::vector<int> ints(const std::string &sql);
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::CTraxDBPath &dbPath();

    std::string init;
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t path;

private:
    struct InitString {
        std::string text;
    };
    SampleDatabase(InitString init, const COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::SampleOptions &options);

public:
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::SampleCounts counts;
};

// One sample database per engine for the tests of a program that only read
// it: built on first use (then handed to `extend`), closed at exit.
SampleDatabase &sharedSample(const std::string &engine, void (*extend)(SampleDatabase &) = nullptr);

// The records a reader delivers, until its first empty handle. The count
// must be the number delivered, before and after, and the end stays the end.
template <class TReader> auto readAll(const std::shared_ptr<TReader> &reader) {
    std::vector<decltype(reader->getNext())> records;
    if (!reader) {
        ADD_FAILURE() << "no reader";
        return records;
    }
    const int count = reader->getCount();
    while (auto record = reader->getNext())
        records.push_back(record);
    EXPECT_EQ(reader->getNext(), nullptr) << "the end stays the end";
    EXPECT_EQ(reader->getCount(), count);
    EXPECT_EQ(count, static_cast<int>(records.size()));
    return records;
}

// The name of a record whose getName takes the buffer, its size and a flag.
template <class T> std::string nameOf(const T &record) {
    TCHAR text[51];
    record->getName(text, sizeof text, false);
    return text;
}

template <class TRecords> std::vector<std::string> namesOf(const TRecords &records) {
    std::vector<std::string> names;
    for (const auto &record : records)
        names.push_back(nameOf(record));
    return names;
}

// A nullable text read with a buffer of `size`; "<NULL>" for NULL.
template <class F> std::string nullable(F get, size_t size = 256) {
    std::vector<TCHAR> buffer(size, '\0');
    bool isNull = false;
    get(isNull, buffer.data(), size);
    return isNull ? "<NULL>" : std::string(buffer.data());
}

// The pin identifier of a record; the pins of a gate take a flag as well.
template <class T> std::string pinOf(const std::shared_ptr<T> &pin) {
    const auto get = [&](bool &isNull, TCHAR *buffer, size_t size) {
        if constexpr (std::is_same_v<T, COM_ORVEL_TRAX_PLDAIO_INTERFACE::GateDataAccess>) {
            bool flag = true;
            pin->getPinIdentifier(isNull, buffer, size, flag);
        } else
            pin->getPinIdentifier(isNull, buffer, size);
    };
    return nullable(get, 11);
}

// A nullable text getter of a record, as nullable and expectAtWidth call it.
#define TEXT_OF(record, getter) [&](bool &n, TCHAR *b, size_t s) { record->getter(n, b, s); }

// A nullable text getter gives `expected` with a buffer of `width` and
// refuses a buffer one byte smaller.
template <class F> void expectAtWidth(F get, size_t width, const std::string &expected) {
    EXPECT_EQ(nullable(get, width), expected) << "width " << width;
    EXPECT_EQ(thrownMessage([&] { nullable(get, width - 1); }), "Buffer too small") << "width " << width - 1;
}

} // namespace txdbtest
