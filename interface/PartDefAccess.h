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

/// One part definition with the readers of its details.
/// LibraryAccess::getPartDefReader and the parts' getPartPartDefn hand these records
/// out; the writer of getLibraryWriter reads them from a source library's
/// getPartDefReader(int).
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone and holds the
/// path, so the database stays open while it lives.
/// A host implements it to hand its own records to a writer.
/// Its reader calls run their queries on the caller's thread and nothing is
/// synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class PartDefAccess : public Access {
public:
    /// Copies the record's name into `buffer` of `size` bytes; the bool is not used.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    /// Copies the record's PCB comp name into `buffer` of `size` bytes.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPCBCompName(TCHAR *buffer, size_t size) = 0;
    /// Copies the record's PCB comp alt name into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPCBCompAltName(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Copies the record's value into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getValue(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Sets `gateSwapping` to the record's gate swapping.
    virtual void getGateSwapping(bool &gateSwapping) = 0;
    /// Sets `pinNumName` to the record's pin num name.
    virtual void getPinNumName(bool &pinNumName) = 0;
    /// Sets `isFPGA` to the record's is FPGA.
    virtual void getIsFPGA(bool &isFPGA) = 0;
    /// Copies the record's comp name stem into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getCompNameStem(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Sets `maxConnectorPins` to the record's max connector pins.
    virtual void getMaxConnectorPins(int &maxConnectorPins) = 0;
    /// Copies the record's p spice into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPSpice(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// @return a new reader of the pin data records of this part def; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<PinDataAccess>> getPinDataReader() = 0;
    /// @return a new reader of the pin equiv records of this part def; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<PinEquivAccess>> getPinEquivReader() = 0;
    /// @return a new reader of the gate swap records of this part def; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<GateSwapAccess>> getGateSwapReader() = 0;
    /// @return a new reader of the attribute records of this part def; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<AttributeAccess>> getAttributesReader() = 0;
    /// @return a new reader of the gate records of this part def; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<GateAccess>> getGateReader() = 0;
    /// @return a new reader of the part records of this part def; its query runs
    ///         now.
    /// @param filter a part filter tree; empty reads them all.
    /// @throws Exception* the database's message, or 32971 / 32972 for a malformed filter tree.
    virtual std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t filter) = 0;
    /// The definition's position in its source; -1 for database records.
    virtual void getPosition(int &position) = 0;
    /// @return the key of the record's library.
    virtual int getLibID() = 0;
    /// @return the record's key ([ID]) in its table.
    virtual int getID() = 0;
    /// [Gate_swapping], [Pin_num_name] and [Is_FPGA] as stored, any number;
    /// false when the record does not know them (then the bool getters are
    /// all there is).
    virtual bool getStoredFlags(int &gateSwapping, int &pinNumName, int &isFPGA) {
        gateSwapping = pinNumName = isFPGA = 0;
        return false;
    }
    /// [Max_connector_pins] as stored, NULL included; false when the record
    /// does not know it.
    virtual bool getStoredMaxConnectorPins(bool &isNull, int &maxConnectorPins) {
        isNull = false;
        maxConnectorPins = 0;
        return false;
    }
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
