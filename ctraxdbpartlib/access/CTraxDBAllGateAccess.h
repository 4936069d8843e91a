#pragma once

#include "ctraxdbpartlib/access/CTraxDBAllRecord.h"
#include "ctraxdbpartlib/access/CTraxDBGateRecord.h"
#include "ctraxdbpartlib/readers/AllGateAccessor.h"
#include "interface/AllGateAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One gate of a library and one of its pins (none for a gate without
// pins), with its position in the reader's result.
class CTraxDBAllGateAccess : public CTraxDBGateRecord<CTraxDBAllRecord<AllGateAccess>> {
public:
    CTraxDBAllGateAccess(pathHandle_t path, const AllGateAccessor &row, int index);

    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) override;
    std::shared_ptr<Reader<GateDataAccess>> getGateDataReader() override;

private:
    DBText<11> pinIdentifier;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
