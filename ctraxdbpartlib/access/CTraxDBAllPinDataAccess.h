#pragma once

#include "ctraxdbpartlib/access/CTraxDBAllRecord.h"
#include "ctraxdbpartlib/access/CTraxDBPinRecord.h"
#include "ctraxdbpartlib/readers/AllPinDataAccessor.h"
#include "interface/AllPinDataAccess.h"
#include "interface/Handles.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of a library with the ID of its part definition.
class CTraxDBAllPinDataAccess : public CTraxDBPinRecord<CTraxDBAllRecord<AllPinDataAccess>> {
public:
    CTraxDBAllPinDataAccess(pathHandle_t path, const AllPinDataAccessor &row);

    void getPinEquivGroupID(bool &isNull, int &groupID) override;

private:
    pathHandle_t path;
    DBValue<int32_t> equivGroup;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
