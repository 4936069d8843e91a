#include "tools/partlib/WriteTarget.h"

#include "ctraxdbpartlib/hostservices/HostServices.h"
#include "interface/CTraxDBPartLib.h"
#include "interface/Exception.h"
#include "tools/partlib/Commands.h"
#include "tools/partlib/SameDatabase.h"

#include <filesystem>

namespace partlib {

using namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE;

WriteTarget::WriteTarget(const std::string &database) {
    refuseReadOnlyDatabase(database);
    const std::string file = databaseFileOf(database);
    bool made = false;
    if (!file.empty())
        created = CreatedFile(file, made);
    std::error_code error;
    if (!made && !file.empty() && std::filesystem::is_directory(file, error))
        fail(file + " is a directory, not a database file");
    std::string initialisation = initialisationStringOf(database);
    doPromptValidationMsg(true);
    try {
        handle = openPath(initialisation.data());
    } catch (Exception *failure) {
        if (!failure->getMessage().empty())
            throw;
        delete failure;
        // Agreed to, the schema's creation failed and the plug-in has told why.
        if (hostCallbacks().defaultAnswer == IDYES)
            fail(databaseName(database, true) + " could not be given the part-library schema; " +
                 (made ? "the file created for it is removed again." : "it is as it was."));
        fail(databaseName(database) + " holds no part library of the current version, and it was not " +
             (made ? "created" : "given one") + ": answer the question with yes, or pass --yes");
    }
}

} // namespace partlib
