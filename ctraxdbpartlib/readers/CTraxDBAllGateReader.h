#pragma once

#include "ctraxdbpartlib/readers/AllGateAccessor.h"
#include "ctraxdbpartlib/readers/DBAllDetailReader.h"
#include "interface/AllGateAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBCompletePartAndPartDefAccess;

// One record per pin of a gate (one with no pin for a gate without pins),
// by definition, gate and gate-pin link: for a library, for the
// definitions a filter text selects, or for the definition of one part.
class CTraxDBAllGateReader : public DBAllDetailReader<AllGateAccess, AllGateAccessor> {
public:
    CTraxDBAllGateReader(pathHandle_t path, CTraxDBLibAccess &library, const TCHAR *filterText);
    CTraxDBAllGateReader(pathHandle_t path, CTraxDBCompletePartAndPartDefAccess &part);

protected:
    std::shared_ptr<AllGateAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
