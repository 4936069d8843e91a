#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

/// One pin of a gate.
/// GateAccess::getGateDataReader and AllGateAccess::getGateDataReader hand these
/// records out; the writer of getLibraryWriter reads them from a source gate's
/// getGateDataReader.
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone; it holds no
/// connection.
/// A host implements it to hand its own records to a writer.
/// Its calls run on the caller's thread and nothing is synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class GateDataAccess : public Access {
public:
    /// Sets `index` to the record's index.
    virtual void getIndex(int &index) = 0;
    /// The flag is cleared when an identifier is copied and kept when it is NULL.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPinIdentifier(bool &isNull, TCHAR *buffer, size_t size, bool &flag) = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
