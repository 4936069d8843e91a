#pragma once

#include "ctraxdbpartlib/readers/AllPinEquivAccessor.h"
#include "ctraxdbpartlib/readers/DBAllDetailReader.h"
#include "interface/AllPinEquivAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBCompletePartAndPartDefAccess;

// One record per pin of a pin-equivalence group, by definition, group and
// pin identifier: for a library, for the definitions a filter text
// selects, or for the definition of one part.
class CTraxDBAllPinEquivReader : public DBAllDetailReader<AllPinEquivAccess, AllPinEquivAccessor> {
public:
    CTraxDBAllPinEquivReader(pathHandle_t path, CTraxDBLibAccess &library, const TCHAR *filterText);
    CTraxDBAllPinEquivReader(pathHandle_t path, CTraxDBCompletePartAndPartDefAccess &part);

protected:
    std::shared_ptr<AllPinEquivAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
