#include "tests/support/SampleDatabase.h"

#include "ctraxdbpartlib/CTraxDBPartLib.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "ctraxdbpartlib/readers/CTraxDBLibReader.h"
#include "tests/support/PathTestSupport.h"
#include "tests/support/TestDatabase.h"

#include <map>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace txdbtest {

namespace {

std::map<std::string, std::unique_ptr<SampleDatabase>> &shared() {
    static std::map<std::string, std::unique_ptr<SampleDatabase>> all;
    return all;
}

// The paths are closed before the test databases go at exit.
struct CloseShared : ::testing::Environment {
    void TearDown() override { shared().clear(); }
};
const auto *closeShared = ::testing::AddGlobalTestEnvironment(new CloseShared);

} // namespace

SampleDatabase::SampleDatabase(const std::string &engine, const SampleOptions &options)
    : SampleDatabase(InitString{freshDatabase(engine)}, options) {}

SampleDatabase SampleDatabase::other(const std::string &engine, const SampleOptions &options) {
    return SampleDatabase(InitString{otherDatabase(engine)}, options);
}

SampleDatabase::SampleDatabase(InitString initString, const SampleOptions &options) : init(std::move(initString.text)) {
    // The empty database gets its schema as a user who agrees would give it.
    {
        pathtest::HostScript agree(true);
        path = std::make_shared<CTraxDBPath>(init.c_str());
    }
    if (options.parts > 0)
        counts = writeSampleLibrary(dbPath(), options);
}

CTraxDBPath &SampleDatabase::dbPath() {
    return static_cast<CTraxDBPath &>(*path);
}

std::shared_ptr<LibraryAccess> SampleDatabase::library(const std::string &name) {
    CTraxDBLibReader reader(path, nullptr);
    while (std::shared_ptr<LibraryAccess> library = reader.getNext())
        if (nameOf(library) == name)
            return library;
    return nullptr;
}

void SampleDatabase::exec(const std::string &sql) {
    dbPath().execute(sql);
}

std::vector<std::string> SampleDatabase::texts(const std::string &sql) {
    return pathtest::textColumn(dbPath().getSession(), dbPath().fixTcEnc(sql));
}

std::vector<int> SampleDatabase::ints(const std::string &sql) {
    return pathtest::intColumn(dbPath().getSession(), dbPath().fixTcEnc(sql));
}

SampleDatabase &sharedSample(const std::string &engine, void (*extend)(SampleDatabase &)) {
    std::unique_ptr<SampleDatabase> &sample = shared()[engine];
    if (!sample) {
        sample = std::make_unique<SampleDatabase>(engine);
        if (extend)
            extend(*sample);
    }
    return *sample;
}

} // namespace txdbtest
