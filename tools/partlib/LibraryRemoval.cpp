#include "tools/partlib/LibraryRemoval.h"

#include "ctraxdbpartlib/TextUtil.h"
#include "ctraxdbpartlib/connection/CTraxDBInspector.h"
#include "interface/CTraxDBPartLib.h"
#include "tools/hostmodel/HostRecords.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/Output.h"
#include "tools/partlib/Suggestions.h"
#include "tools/partlib/WriteCommands.h"

#include <algorithm>
#include <map>
#include <set>

namespace partlib {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;
using COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::CTraxDBInspector;

LibraryRemoval::LibraryRemoval(const pathHandle_t &database, const std::vector<std::string> &names) {
    CTraxDBInspector inspector(database);
    const std::vector<std::string> stored = inspector.libraryNames();
    std::vector<std::string> waiting;
    for (const std::string &name : names) {
        if (std::find(stored.begin(), stored.end(), name) == stored.end())
            fail(inspector.displayName() + " holds no library named " + printable(name) + didYouMean(name, stored) +
                 ". Nothing was removed.");
        if (std::find(waiting.begin(), waiting.end(), name) == waiting.end())
            waiting.push_back(name);
    }
    // library -> the removed libraries whose parts use its definitions
    std::map<std::string, std::set<std::string>> usedBy;
    for (const CTraxDBInspector::ForeignDefinitionUse &use : inspector.foreignDefinitionUses()) {
        const auto removed = [&](const std::string &library) {
            return std::find(waiting.begin(), waiting.end(), library) != waiting.end();
        };
        if (!removed(use.definitionLibrary))
            continue;
        if (removed(use.library))
            usedBy[use.definitionLibrary].insert(use.library);
        else if (inUse.empty())
            inUse = "part " + printable(use.part) + " of library " + printable(use.library) + " uses part definition " +
                    printable(use.definition) + " of library " + printable(use.definitionLibrary);
    }
    // A library goes once every library whose parts use its definitions has gone.
    std::set<std::string> gone;
    while (!waiting.empty()) {
        auto ready = std::find_if(waiting.begin(), waiting.end(), [&](const std::string &library) {
            const std::set<std::string> &users = usedBy[library];
            return std::includes(gone.begin(), gone.end(), users.begin(), users.end());
        });
        if (ready == waiting.end())
            fail("The libraries " + printable(DBIMPL::joined(waiting, ", ")) +
                 " use each other's part definitions: none can be removed before the others. Nothing was removed.");
        gone.insert(*ready);
        ordered.push_back(*ready);
        waiting.erase(ready);
    }
}

void LibraryRemoval::run(WriteTarget &target, const std::string &verb) const {
    if (!inUse.empty())
        fail("Cannot remove: " + inUse + " (remove that part first, or that library too). Nothing was removed.");
    std::vector<hostmodel::Library> deleted;
    for (const std::string &name : ordered) {
        hostmodel::Library library{name};
        library.state = hostmodel::DELETED;
        deleted.push_back(std::move(library));
    }
    WriteSession session(target, "Removing");
    std::shared_ptr<Writer<LibraryAccess>> writer = getLibraryWriter(target.path());
    session.run<LibraryAccess>(*writer, hostmodel::libraryReader(std::move(deleted)));
    session.summarise(verb, ordered);
}

} // namespace partlib
