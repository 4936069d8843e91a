#include "tools/partlib/StoredNames.h"

#include "ctraxdbpartlib/connection/CTraxDBInspector.h"

namespace partlib {

libraryfile::StoredNames storedNames(const COM_ORVEL_TRAX_PLDAIO_INTERFACE::pathHandle_t &path) {
    COM_ORVEL_TRAX_PLDAIO_INTERFACE::DBIMPL::CTraxDBInspector database(path);
    libraryfile::StoredNames names;
    for (const auto &definition : database.definitionNames())
        names.definitions.emplace(definition.definition, definition.library);
    for (const auto &part : database.partNames())
        names.parts.emplace(part.part, libraryfile::StoredNames::PartOf{part.library, part.definition});
    return names;
}

} // namespace partlib
