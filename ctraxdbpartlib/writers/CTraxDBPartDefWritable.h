#pragma once

#include "ctraxdbpartlib/readers/LibraryAccessor.h"
#include "ctraxdbpartlib/writers/DBTableWritable.h"
#include "ctraxdbpartlib/writers/WriteAccessors.h"
#include "interface/PartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBPartDefAccess;

// The part definitions of one library, found by name, with all their
// details written through the detail writers.
class CTraxDBPartDefWritable : public DBTableWritable<PartDefAccess, PartDefAccessor> {
public:
    CTraxDBPartDefWritable(pathHandle_t path, LibraryAccessor &library);

    bool find(std::shared_ptr<PartDefAccess> item) override;
    void insert(std::shared_ptr<PartDefAccess> item) override;
    void update(std::shared_ptr<PartDefAccess> item) override;
    void writeSubItems(DBWriter<PartDefAccess> &writer, std::shared_ptr<PartDefAccess> item,
                       CANCEL_CALLBACK cancel) override;
    // Removes the definition's details and then its row; its parts stay.
    void purge(DBWriter<PartDefAccess> &writer, std::shared_ptr<PartDefAccess> item, CANCEL_CALLBACK cancel) override;

private:
    // The replay mode for the write of one kind of details: `mode` when the
    // source delivers the kind unchanged, else none.
    class Replayed {
    public:
        Replayed(CTraxDBPartDefWritable &writable, bool unchanged, Replay mode);

    private:
        CTraxDBStatementBuffers::ReplayScope scope;
    };

    void fill(PartDefAccess &item);
    // The database's own record of the found definition, for its readers.
    std::shared_ptr<CTraxDBPartDefAccess> storedRecord();

    int32_t libraryId;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
