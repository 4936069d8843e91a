#pragma once

#include "interface/Handles.h"
#include "interface/Reader.h"
#include "interface/Subject.h"
#include "interface/WriterEvent.h"

#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

// Writes records of type T into the database, reporting to its observers.
// The declared order of the virtual functions, after Subject's, is the host's
// vtable slot order: never reorder, remove or insert one; the class grows only
// at its end (SlotOrderTest holds the order).
template <class T> class Writer : public Subject<WriterEvent> {
public:
    // Reads every record from the reader and writes it; the cancel callback
    // is polled before each next record.
    virtual void write(std::shared_ptr<Reader<T>> reader, CANCEL_CALLBACK cancel) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
