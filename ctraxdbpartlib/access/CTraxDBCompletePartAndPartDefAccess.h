#pragma once

#include "ctraxdbpartlib/access/CTraxDBPartRecord.h"
#include "interface/CompletePartAndPartDefAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One part joined with its part definition, with the definition's detail
// readers.
class CTraxDBCompletePartAndPartDefAccess : public CTraxDBPartRecord<CompletePartAndPartDefAccess> {
public:
    CTraxDBCompletePartAndPartDefAccess(pathHandle_t path, const CompletePartAndPartDefAccessor &row);

    void getPartDefName(TCHAR *buffer, size_t size, bool unused) override;
    void getPCBCompName(TCHAR *buffer, size_t size) override;
    void getPCBCompAltName(bool &isNull, TCHAR *buffer, size_t size) override;
    void getValue(bool &isNull, TCHAR *buffer, size_t size) override;
    void getGateSwapping(bool &value) override;
    void getPinNumName(bool &value) override;
    void getIsFPGA(bool &value) override;
    void getCompNameStem(bool &isNull, TCHAR *buffer, size_t size) override;
    void getMaxConnectorPins(int &value) override;
    void getPartDefPSpice(bool &isNull, TCHAR *buffer, size_t size) override;
    hierarchyAccessHandle_t getPartHierarchy() override;
    std::shared_ptr<Reader<PinDataAccess>> getPinDataReader() override;
    std::shared_ptr<Reader<AllPinEquivAccess>> getPinEquivReader() override;
    std::shared_ptr<Reader<AllGateSwapAccess>> getGateSwapReader() override;
    std::shared_ptr<Reader<AttributeAccess>> getAttributesReader() override;
    std::shared_ptr<Reader<AllGateAccess>> getGateReader() override;
    void getPosition(int &position) override;
    int getPartDefID() override;

private:
    DBText<51> defName;
    DBText<51> pcbCompName;
    DBText<51> pcbAltName;
    DBText<256> value;
    DBText<21> compNameStem;
    DBText<81> defPSpice;
    int32_t maxConnectorPins;
    int16_t gateSwapping;
    int16_t pinNumName;
    int16_t isFPGA;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
