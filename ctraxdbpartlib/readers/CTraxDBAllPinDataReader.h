#pragma once

#include "ctraxdbpartlib/readers/AllPinDataAccessor.h"
#include "ctraxdbpartlib/readers/DBAllDetailReader.h"
#include "interface/AllPinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// The pins of a library, by definition and pin identifier, or those of the
// definitions a filter text selects, by pin ID.
class CTraxDBAllPinDataReader : public DBAllDetailReader<AllPinDataAccess, AllPinDataAccessor> {
public:
    CTraxDBAllPinDataReader(pathHandle_t path, CTraxDBLibAccess &library, const TCHAR *filterText);

protected:
    std::shared_ptr<AllPinDataAccess> makeRecord() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
