#include "tests/support/SampleDatabase.h"

#include "ctraxdbpartlib/CTraxDBError.h"
#include "ctraxdbpartlib/CTraxDBPartLib.h"
#include "ctraxdbpartlib/connection/CCommand.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "ctraxdbpartlib/readers/CTraxDBLibReader.h"
#include "tests/support/TestDatabase.h"

#include <cstring>
#include <stdexcept>

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL;

namespace txdbtest {

namespace {

int answerYes(const char *, const char *, unsigned) {
    return IDYES;
}

struct TextRow {
    char text[1024] = {};
    DBSTATUS status = DBSTATUS_S_OK;
    void bind(ColumnMap &map) { map.column(1, text, &status); }
};

struct IntRow {
    int32_t value = 0;
    DBSTATUS status = DBSTATUS_S_OK;
    void bind(ColumnMap &map) { map.column(1, value, &status); }
};

template <class TRow, class TValue, class TConvert>
std::vector<TValue> column(CTraxDBPath &path, const std::string &sql, TConvert convert) {
    CCommand<CAccessor<TRow>> command;
    path.open(command, sql);
    std::vector<TValue> values;
    for (HRESULT result = command.MoveFirst(); result == S_OK; result = command.MoveNext())
        values.push_back(convert(static_cast<TRow &>(command)));
    return values;
}

} // namespace

SampleDatabase::SampleDatabase(const std::string &engine, const SampleOptions &options) : init(freshDatabase(engine)) {
    // The empty database gets its schema as a user who agrees would give it.
    auto previousBox = hostCallbacks().messageBox;
    bool previousPrompt = promptValidationMsg;
    hostCallbacks().messageBox = answerYes;
    promptValidationMsg = true;
    try {
        path = std::make_shared<CTraxDBPath>(init.c_str());
    } catch (...) {
        hostCallbacks().messageBox = previousBox;
        promptValidationMsg = previousPrompt;
        throw;
    }
    hostCallbacks().messageBox = previousBox;
    promptValidationMsg = previousPrompt;
    if (options.parts > 0)
        counts = writeSampleLibrary(static_cast<CTraxDBPath &>(*path), options);
}

std::shared_ptr<LibraryAccess> SampleDatabase::library(const std::string &name) {
    CTraxDBLibReader reader(path, nullptr);
    while (std::shared_ptr<LibraryAccess> library = reader.getNext()) {
        TCHAR text[51];
        library->getName(text, sizeof text, false);
        if (name == text)
            return library;
    }
    return nullptr;
}

void SampleDatabase::exec(const std::string &sql) {
    static_cast<CTraxDBPath &>(*path).execute(sql);
}

std::vector<std::string> SampleDatabase::texts(const std::string &sql) {
    return column<TextRow, std::string>(static_cast<CTraxDBPath &>(*path), sql, [](const TextRow &row) {
        return row.status == DBSTATUS_S_ISNULL ? std::string("<NULL>") : std::string(row.text);
    });
}

std::vector<int> SampleDatabase::ints(const std::string &sql) {
    return column<IntRow, int>(static_cast<CTraxDBPath &>(*path), sql,
                               [](const IntRow &row) { return row.status == DBSTATUS_S_ISNULL ? -99 : row.value; });
}

} // namespace txdbtest
