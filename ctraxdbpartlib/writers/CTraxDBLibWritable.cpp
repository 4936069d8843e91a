#include "ctraxdbpartlib/writers/CTraxDBLibWritable.h"

#include "ctraxdbpartlib/access/CTraxDBLibAccess.h"
#include "ctraxdbpartlib/connection/CTraxDBPath.h"
#include "ctraxdbpartlib/connection/LibraryPrefetch.h"
#include "ctraxdbpartlib/readers/CTraxDBHierarchyReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPartDefReader.h"
#include "ctraxdbpartlib/readers/CTraxDBPartReader.h"
#include "ctraxdbpartlib/writers/CTraxDBHierarchyWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBPartDefWriter.h"
#include "ctraxdbpartlib/writers/CTraxDBPartWriter.h"
#include "ctraxdbpartlib/writers/DBPassReader.h"

#include <optional>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

namespace {

// The selection values of the two passes over definitions and parts.
constexpr int PART_DEF_FIRST_PASS = 3;
constexpr int PART_DEF_SECOND_PASS = 252;
constexpr int PART_FIRST_PASS = 82;
constexpr int PART_SECOND_PASS = 173;

struct TableStep {
    const char *text;
    WriteTable table;
};

// The tables written after the definitions, with their progress texts.
const TableStep tableSteps[] = {
    {"Writing Pin Data table...", WriteTable::PinData},
    {"Writing Attribute table...", WriteTable::Attributes},
    {"Writing Gate table...", WriteTable::Gate},
    {"Writing Gate Data table...", WriteTable::GateHasPinData},
    {"Writing Gate Swap table...", WriteTable::GateEquiv},
    {"Writing Gate Swap Gate table...", WriteTable::GateEquivGate},
    {"Writing Gate Swap Pin Data table...", WriteTable::GateEquivHasPinData},
    {"Writing Pin Equiv table...", WriteTable::PinEquiv},
    {"Writing Part table...", WriteTable::Parts},
};
constexpr int TABLE_STEPS = static_cast<int>(sizeof tableSteps / sizeof tableSteps[0]) + 1;

// The connection a library of another of the plug-in's databases is read
// through, when no prefetch runs on it yet; null for other sources.
ProviderConnection *sourceConnection(LibraryAccess &item, ProviderConnection &target) {
    const auto *stored = dynamic_cast<CTraxDBLibAccess *>(&item);
    auto *path = stored ? dynamic_cast<CTraxDBPath *>(stored->getPath().get()) : nullptr;
    ProviderConnection *connection = path ? path->getSession().getConnection() : nullptr;
    if (!connection || connection == &target || connection->getPrefetch())
        return nullptr;
    return connection;
}

} // namespace

CTraxDBLibWritable::CTraxDBLibWritable(pathHandle_t path) : DBLibraryWritable(std::move(path)) {}

void CTraxDBLibWritable::writeSubItems(DBWriter<LibraryAccess> &writer, std::shared_ptr<LibraryAccess> item,
                                       CANCEL_CALLBACK cancel) {
    if (holds(item) && libraryId != -1) {
        // The content refers to the library's row: it goes first.
        flush();
        writeContent(writer, *item, cancel);
    }
    purgeIfPending(writer, item, cancel);
}

void CTraxDBLibWritable::writeContent(DBWriter<LibraryAccess> &writer, LibraryAccess &item, CANCEL_CALLBACK cancel) {
    CTraxDBStatementBuffers &buffers = statements();
    buffers.initStatementBuffers(probeMultiRowInsert(database()));
    // A library of another database is read definition by definition: its
    // rows are read for the whole library, where the engine lets them on a
    // connection of their own, beside the reads of the target's rows.
    ProviderConnection &target = *database().getSession().getConnection();
    std::optional<LibraryPrefetch::Scope> sourcePrefetch;
    if (ProviderConnection *source = sourceConnection(item, target))
        sourcePrefetch.emplace(*source, item.getID(), &sourceReads);
    // The stored rows of the library are compared with the source's one
    // definition after another: they are read for the whole library.
    LibraryPrefetch::Scope prefetch(target, libraryId, &targetReads);
    {
        CTraxDBHierarchyWriter folders(path, rowset);
        adopt(folders, writer).write(item.getHierarchyReader(), cancel);
    }
    flushTable(WriteTable::Hierarchy, cancel);

    DBPassReader<PartDefAccess>::Names definitions;
    DBPassReader<PartAccess>::Names parts;
    {
        CTraxDBPartDefWriter writerOfDefinitions(path, rowset);
        adopt(writerOfDefinitions, writer)
            .write(DBPassReader<PartDefAccess>::first(item.getPartDefReader(PART_DEF_FIRST_PASS), definitions), cancel);
    }
    WriterEvent progress(WRITE_TYPE_PROGRESS, "", 0, TABLE_STEPS);
    writer.notifyProgress(progress);
    progress.text = "Writing Part Definition table...";
    writer.notifyProgress(progress);
    flushTable(WriteTable::PartDefinition, cancel);
    {
        CTraxDBPartWriter writerOfParts(path, rowset);
        adopt(writerOfParts, writer)
            .write(
                DBPassReader<PartAccess>::first(item.getPartReader(partFilterCompHandle_t(), PART_FIRST_PASS), parts),
                cancel);
    }
    // The database's own records deliver everything in the first passes and
    // again in the second, where nothing is left to write: their second
    // passes are not read at all.
    const bool secondPasses = dynamic_cast<CTraxDBLibAccess *>(&item) == nullptr;
    if (secondPasses) {
        CTraxDBPartDefWriter writerOfDefinitions(path, rowset);
        adopt(writerOfDefinitions, writer)
            .write(DBPassReader<PartDefAccess>::second(item.getPartDefReader(PART_DEF_SECOND_PASS), definitions),
                   cancel);
        // Definitions new in the second pass: their details and parts refer
        // to them.
        flushTable(WriteTable::PartDefinition, cancel);
    }
    for (const TableStep &step : tableSteps) {
        progress.text = step.text;
        ++progress.index;
        writer.notifyProgress(progress);
        if (step.table == WriteTable::Parts && secondPasses) {
            CTraxDBPartWriter writerOfParts(path, rowset);
            adopt(writerOfParts, writer)
                .write(DBPassReader<PartAccess>::second(item.getPartReader(partFilterCompHandle_t(), PART_SECOND_PASS),
                                                        parts),
                       cancel);
        }
        flushTable(step.table, cancel);
    }
    buffers.freeStatementBuffers();
    ++progress.index;
    writer.notifyProgress(progress);
}

void CTraxDBLibWritable::purge(DBWriter<LibraryAccess> &writer, std::shared_ptr<LibraryAccess>,
                               CANCEL_CALLBACK cancel) {
    auto library = std::make_shared<CTraxDBLibAccess>(path, rowset);
    CTraxDBPartWriter parts(path, rowset);
    adopt(parts, writer)
        .purgeAll(std::make_shared<CTraxDBPartReader>(path, *library, partFilterCompHandle_t()), cancel);
    CTraxDBHierarchyWriter folders(path, rowset);
    adopt(folders, writer).purgeAll(std::make_shared<CTraxDBHierarchyReader>(path, *library), cancel);
    CTraxDBPartDefWriter definitions(path, rowset);
    adopt(definitions, writer)
        .purgeAll(std::make_shared<CTraxDBPartDefReader>(path, *library, partDefFilterHandle_t()), cancel);
    deleteFound();
}

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
