#pragma once

#include "ctraxdbpartlib/access/CTraxDBPartDefFields.h"
#include "ctraxdbpartlib/access/CTraxDBPartRecord.h"
#include "interface/CompletePartAndPartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One part joined with its part definition, with the definition's detail
// readers.
class CTraxDBCompletePartAndPartDefAccess
    : public CTraxDBPartDefFields<CTraxDBPartRecord<CompletePartAndPartDefAccess>> {
public:
    CTraxDBCompletePartAndPartDefAccess(pathHandle_t path, const CompletePartAndPartDefAccessor &row);

    void getPartDefName(TCHAR *buffer, size_t size, bool unused) override;
    void getCompNameStem(bool &isNull, TCHAR *buffer, size_t size) override;
    void getPartDefPSpice(bool &isNull, TCHAR *buffer, size_t size) override;
    hierarchyAccessHandle_t getPartHierarchy() override;
    std::shared_ptr<Reader<PinDataAccess>> getPinDataReader() override;
    std::shared_ptr<Reader<AllPinEquivAccess>> getPinEquivReader() override;
    std::shared_ptr<Reader<AllGateSwapAccess>> getGateSwapReader() override;
    std::shared_ptr<Reader<AttributeAccess>> getAttributesReader() override;
    std::shared_ptr<Reader<AllGateAccess>> getGateReader() override;
    void getPosition(int &position) override;
    int getPartDefID() override;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
