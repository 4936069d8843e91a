#pragma once

#include "ctraxdbpartlib/access/CTraxDBAllRecord.h"
#include "ctraxdbpartlib/access/CTraxDBNamedMemberRecord.h"
#include "ctraxdbpartlib/readers/AllGateSwapAccessor.h"
#include "interface/AllGateSwapAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of one gate of a gate-swap group of a library, with its position
// in the reader's result.
class CTraxDBAllGateSwapAccess : public CTraxDBNamedMemberRecord<CTraxDBAllRecord<AllGateSwapAccess>> {
public:
    CTraxDBAllGateSwapAccess(pathHandle_t path, const AllGateSwapAccessor &row, int index);

    void getEquivType(int &value) override;
    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) override;
    void getGateEquivGateID(int &value) override;
    std::shared_ptr<Reader<GateSwapGateAccess>> getGateSwapGateReader() override;

private:
    int32_t equivType;
    int32_t gateEquivGateId;
    DBText<11> pinIdentifier;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
