#pragma once

#include "ctraxdbpartlib/readers/DBRowReader.h"
#include "ctraxdbpartlib/readers/PartAccessor.h"
#include "interface/CompletePartAndPartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

class CTraxDBLibAccess;

// The parts of a library joined with their part definitions, by part name.
class CTraxDBCompletePartAndPartDefReader
    : public DBRowReader<CompletePartAndPartDefAccess, CompletePartAndPartDefAccessor> {
public:
    CTraxDBCompletePartAndPartDefReader(pathHandle_t path, CTraxDBLibAccess &library, partFilterCompHandle_t filter);

protected:
    std::shared_ptr<CompletePartAndPartDefAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
