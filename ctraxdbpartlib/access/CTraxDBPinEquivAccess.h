#pragma once

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/readers/PinEquivAccessor.h"
#include "interface/Handles.h"
#include "interface/PinEquivAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin-equivalence group of a part definition, with the reader of its pins.
class CTraxDBPinEquivAccess : public CTraxDBDetailRecord<PinEquivAccess> {
public:
    CTraxDBPinEquivAccess(pathHandle_t path, const PinEquivAccessor &row, int index);

    void getEquivIndex(int &index) override;
    std::shared_ptr<Reader<PinEquivDataAccess>> getEquivilentPins() override;
    int getID() override;

private:
    pathHandle_t path;
    int32_t id;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
