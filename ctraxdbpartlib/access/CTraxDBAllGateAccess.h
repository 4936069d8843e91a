#pragma once

#include "ctraxdbpartlib/access/CTraxDBAllRecord.h"
#include "ctraxdbpartlib/readers/AllGateAccessor.h"
#include "interface/AllGateAccess.h"
#include "interface/Handles.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One gate of a library and one of its pins (none for a gate without
// pins), with its position in the reader's result.
class CTraxDBAllGateAccess : public CTraxDBAllRecord<AllGateAccess> {
public:
    CTraxDBAllGateAccess(pathHandle_t path, const AllGateAccessor &row, int index);

    void getIndex(int &value) override;
    void getName(TCHAR *buffer, size_t size) override;
    void getAltName(bool &isNull, TCHAR *buffer, size_t size) override;
    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) override;
    int getID() override;
    std::shared_ptr<Reader<GateDataAccess>> getGateDataReader() override;

private:
    pathHandle_t path;
    int32_t id;
    DBText<51> name;
    DBText<51> altName;
    DBText<11> pinIdentifier;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
