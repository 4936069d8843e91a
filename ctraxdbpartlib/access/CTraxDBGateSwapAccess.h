#pragma once

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/readers/GateSwapAccessor.h"
#include "interface/GateSwapAccess.h"
#include "interface/Handles.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One gate-swap group of a part definition, with the reader of its gates.
class CTraxDBGateSwapAccess : public CTraxDBDetailRecord<GateSwapAccess> {
public:
    CTraxDBGateSwapAccess(pathHandle_t path, const GateSwapAccessor &row, int index);

    void getIndex(int &index) override;
    void getName(TCHAR *buffer, size_t size) override;
    std::shared_ptr<Reader<GateSwapGateAccess>> getGateSwapGateReader() override;
    int getID() override;

private:
    pathHandle_t path;
    int32_t id;
    DBText<51> name;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
