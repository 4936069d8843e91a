#pragma once

#include "interface/Access.h"
#include "interface/Path.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// One database (catalog) that a data source offers.
// The declared order of the virtual functions, after Access's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
class PathData : public Access {
public:
    virtual void getPathStr(TCHAR *buffer, size_t size) = 0;
    virtual void getPathInitialisationStr(TCHAR *buffer, size_t size) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
