#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class AttributeAccess;
class GateAccess;
class GateSwapAccess;
class PartAccess;
class PinDataAccess;
class PinEquivAccess;

// One part definition with the readers of its details.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class PartDefAccess : public Access {
public:
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    virtual void getPCBCompName(TCHAR *buffer, size_t size) = 0;
    virtual void getPCBCompAltName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getValue(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getGateSwapping(bool &gateSwapping) = 0;
    virtual void getPinNumName(bool &pinNumName) = 0;
    virtual void getIsFPGA(bool &isFPGA) = 0;
    virtual void getCompNameStem(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getMaxConnectorPins(int &maxConnectorPins) = 0;
    virtual void getPSpice(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual std::shared_ptr<Reader<PinDataAccess>> getPinDataReader() = 0;
    virtual std::shared_ptr<Reader<PinEquivAccess>> getPinEquivReader() = 0;
    virtual std::shared_ptr<Reader<GateSwapAccess>> getGateSwapReader() = 0;
    virtual std::shared_ptr<Reader<AttributeAccess>> getAttributesReader() = 0;
    virtual std::shared_ptr<Reader<GateAccess>> getGateReader() = 0;
    virtual std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t filter) = 0;
    // The definition's position in its source; -1 for database records.
    virtual void getPosition(int &position) = 0;
    virtual int getLibID() = 0;
    virtual int getID() = 0;
    // [Gate_swapping], [Pin_num_name] and [Is_FPGA] as stored, any number;
    // false when the record does not know them (then the bool getters are
    // all there is).
    virtual bool getStoredFlags(int &gateSwapping, int &pinNumName, int &isFPGA) {
        gateSwapping = pinNumName = isFPGA = 0;
        return false;
    }
    // [Max_connector_pins] as stored, NULL included; false when the record
    // does not know it.
    virtual bool getStoredMaxConnectorPins(bool &isNull, int &maxConnectorPins) {
        isNull = false;
        maxConnectorPins = 0;
        return false;
    }
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
