#pragma once

#include "ctraxdbpartlib/readers/AllGateSwapAccessor.h"
#include "ctraxdbpartlib/readers/DBAllDetailReader.h"
#include "interface/AllGateSwapAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBCompletePartAndPartDefAccess;

// One record per pin of a gate of a gate-swap group, by definition, group,
// swap gate and pin link: for a library, for the definitions a filter text
// selects, or for the definition of one part. Groups without gates and
// swap gates without pins give no record.
class CTraxDBAllGateSwapReader : public DBAllDetailReader<AllGateSwapAccess, AllGateSwapAccessor> {
public:
    CTraxDBAllGateSwapReader(pathHandle_t path, CTraxDBLibAccess &library, const TCHAR *filterText);
    CTraxDBAllGateSwapReader(pathHandle_t path, CTraxDBCompletePartAndPartDefAccess &part);

protected:
    std::shared_ptr<AllGateSwapAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
