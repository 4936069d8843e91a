#pragma once

#include "ctraxdbpartlib/access/CTraxDBDetailRecord.h"
#include "ctraxdbpartlib/readers/PinDataAccessor.h"
#include "interface/PinDataAccess.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {
namespace DBIMPL {

// One pin of a part definition.
class CTraxDBPinDataAccess : public CTraxDBDetailRecord<PinDataAccess> {
public:
    explicit CTraxDBPinDataAccess(const PinDataAccessor &row);

    void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) override;
    void getPinNumber(bool &isNull, TCHAR *buffer, size_t size) override;
    void getName(bool &isNull, TCHAR *buffer, size_t size) override;
    void getLabel(bool &isNull, TCHAR *buffer, size_t size) override;
    void getPosition(bool &isNull, int &position) override;
    void getType(bool &isNull, int &type) override;
    void getLoading(bool &isNull, int &loading) override;
    void getSignal(bool &isNull, TCHAR *buffer, size_t size) override;

private:
    DBText<11> pinIdentifier;
    DBText<11> name;
    DBText<51> label;
    DBText<49> signal;
    DBValue<int32_t> pinType;
    DBValue<int32_t> loading;
    DBValue<int32_t> position;
};

} // namespace DBIMPL
} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
