#pragma once

#include "interface/Access.h"
#include "interface/Path.h"

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// One database (catalog) that a data source offers.
class PathData : public Access {
public:
    virtual void getPathStr(TCHAR *buffer, size_t size) = 0;
    virtual void getPathInitialisationStr(TCHAR *buffer, size_t size) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
