#pragma once

#include "ctraxdbpartlib/readers/LibraryAccessor.h"
#include "ctraxdbpartlib/readers/PartAccessor.h"
#include "ctraxdbpartlib/writers/DBTableWritable.h"
#include "interface/PartAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The parts of one library, found by name, each filed in its folder and
// built on its definition.
class CTraxDBPartWritable : public DBTableWritable<PartAccess, PartAccessor> {
public:
    CTraxDBPartWritable(pathHandle_t path, LibraryAccessor &library);

    bool find(std::shared_ptr<PartAccess> item) override;
    void insert(std::shared_ptr<PartAccess> item) override;
    // Changes everything but the part type.
    void update(std::shared_ptr<PartAccess> item) override;
    // Changes everything, the part type too.
    void replace(std::shared_ptr<PartAccess> item) override;
    void writeSubItems(DBWriter<PartAccess> &writer, std::shared_ptr<PartAccess> item, CANCEL_CALLBACK cancel) override;
    void purge(DBWriter<PartAccess> &writer, std::shared_ptr<PartAccess> item, CANCEL_CALLBACK cancel) override;

private:
    // Name, folder, definition and the columns both insert and update set.
    // `stored`: the item's row was found, and the row record holds it.
    void fill(PartAccess &item, bool stored);
    void fillType(PartAccess &item);
    int32_t resolveHierarchy(PartAccess &item);
    int32_t resolvePartDef(PartAccess &item, bool stored);

    int32_t libraryId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
