#pragma once

#include "ctraxdbpartlib/access/CTraxDBAllRecord.h"
#include "ctraxdbpartlib/readers/AllPinEquivAccessor.h"
#include "interface/AllPinEquivAccess.h"
#include "interface/Handles.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of one pin-equivalence group, with the IDs of its group and part
// definition and its position in the reader's result.
class CTraxDBAllPinEquivAccess : public CTraxDBAllRecord<AllPinEquivAccess> {
public:
    CTraxDBAllPinEquivAccess(pathHandle_t path, const AllPinEquivAccessor &row, int index);

    void getEquivIndex(int &value) override;
    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) override;
    void getPinEquivID(int &value) override;
    int getID() override;

private:
    pathHandle_t path;
    int32_t pinEquivId;
    DBText<11> pinIdentifier;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
