#pragma once

#include "ctraxdbpartlib/access/CTraxDBAllRecord.h"
#include "ctraxdbpartlib/readers/AllPinDataAccessor.h"
#include "interface/AllPinDataAccess.h"
#include "interface/Handles.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of a library with the ID of its part definition.
class CTraxDBAllPinDataAccess : public CTraxDBAllRecord<AllPinDataAccess> {
public:
    CTraxDBAllPinDataAccess(pathHandle_t path, const AllPinDataAccessor &row);

    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) override;
    void getName(bool &isNull, TCHAR *buffer, size_t size) override;
    void getLabel(bool &isNull, TCHAR *buffer, size_t size) override;
    void getPosition(bool &isNull, int &position) override;
    void getType(bool &isNull, int &type) override;
    void getLoading(bool &isNull, int &loading) override;
    void getSignal(bool &isNull, TCHAR *buffer, size_t size) override;
    void getPinEquivGroupID(bool &isNull, int &groupID) override;

private:
    pathHandle_t path;
    DBText<11> pinIdentifier;
    DBText<11> name;
    DBText<51> label;
    DBText<49> signal;
    DBValue<int32_t> pinType;
    DBValue<int32_t> loading;
    DBValue<int32_t> pinPosition;
    DBValue<int32_t> equivGroup;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
