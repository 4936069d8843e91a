#pragma once

#include <cstddef>

#ifndef TCHAR_DEFINED
#define TCHAR_DEFINED
typedef char TCHAR;
#endif

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// An opened part-library database.
// The declared order of the virtual functions, the destructor first, is the
// host's vtable slot order: never reorder, remove or insert one; the class
// grows only at its end (SlotOrderTest holds the order).
class Path {
public:
    virtual ~Path() = default;
    // The database's initialisation string, without its password.
    virtual void getPathStr(TCHAR *buffer, size_t size) = 0;
    virtual void startTransaction() = 0;
    virtual void commitTransation() = 0;
    virtual void abortTransaction() = 0;
    virtual bool isReadOnly() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
