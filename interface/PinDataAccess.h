#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// One pin of a part definition.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class PinDataAccess : public Access {
public:
    virtual void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size) = 0;
    // The same as getPinIdentifier.
    virtual void getPinNumber(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getLabel(bool &isNull, TCHAR *buffer, size_t size) = 0;
    virtual void getPosition(bool &isNull, int &position) = 0;
    virtual void getType(bool &isNull, int &type) = 0;
    virtual void getLoading(bool &isNull, int &loading) = 0;
    virtual void getSignal(bool &isNull, TCHAR *buffer, size_t size) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
