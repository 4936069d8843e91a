#pragma once

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/readers/GateAccessor.h"
#include "interface/GateAccess.h"
#include "interface/Handles.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One gate of a part definition, with the reader of its pins.
class CTraxDBGateAccess : public CTraxDBDetailRecord<GateAccess> {
public:
    CTraxDBGateAccess(pathHandle_t path, const GateAccessor &row, int index);

    void getIndex(int &index) override;
    void getName(TCHAR *buffer, size_t size) override;
    void getAltName(bool &isNull, TCHAR *buffer, size_t size) override;
    std::shared_ptr<Reader<GateDataAccess>> getGateDataReader() override;
    int getID() override;

private:
    pathHandle_t path;
    int32_t id;
    DBText<51> name;
    DBText<51> altName;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
