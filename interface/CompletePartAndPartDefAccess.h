#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class AllGateAccess;
class AllGateSwapAccess;
class AllPinEquivAccess;
class AttributeAccess;
class PartDefAccess;
class PinDataAccess;

/// One part together with its part definition, with the readers of the
/// definition's details.
/// LibraryAccess::getCompletePartAndPartDefReader hands these records out; no
/// writer reads them.
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone and holds the
/// path, so the database stays open while it lives.
/// Its reader calls run their queries on the caller's thread and nothing is
/// synchronised: use it from one thread.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class CompletePartAndPartDefAccess : public Access {
public:
    /// Copies the record's name into `buffer` of `size` bytes; the bool is not used.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    /// Copies the record's number into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getNumber(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Sets `libraryID` to the record's library number.
    virtual void getLibraryNumber(int *libraryID) = 0;
    /// Sets `isNull` when the record's version is NULL, else `version` to it.
    virtual void getVersion(bool &isNull, int &version) = 0;
    /// Copies the record's description into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getDescription(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Copies the record's p spice into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPSpice(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Copies the record's part acceptance into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPartAcceptance(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Copies the record's part def name into `buffer` of `size` bytes; the bool is not used.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPartDefName(TCHAR *buffer, size_t size, bool unused) = 0;
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
    /// Copies the record's part def p spice into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getPartDefPSpice(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// @return the folder, read when asked; an empty handle when there is none.
    virtual hierarchyAccessHandle_t getPartHierarchy() = 0;
    /// @return the part definition the part is built on, read when asked.
    virtual std::shared_ptr<PartDefAccess> getPartPartDefn() = 0;
    /// Positions in the source; -1 for database records.
    virtual void getHierarchyPosition(int &position) = 0;
    /// Sets `position` to the record's part def position.
    virtual void getPartDefPosition(int &position) = 0;
    /// @return a new reader of the pin data records of this complete part and part def; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<PinDataAccess>> getPinDataReader() = 0;
    /// @return a new reader of the pin equiv records of this complete part and part def; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<AllPinEquivAccess>> getPinEquivReader() = 0;
    /// @return a new reader of the gate swap records of this complete part and part def; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<AllGateSwapAccess>> getGateSwapReader() = 0;
    /// @return a new reader of the attribute records of this complete part and part def; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<AttributeAccess>> getAttributesReader() = 0;
    /// @return a new reader of the gate records of this complete part and part def; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<AllGateAccess>> getGateReader() = 0;
    /// Sets `position` to the record's position.
    virtual void getPosition(int &position) = 0;
    /// @return the key of the part definition.
    virtual int getPartDefID() = 0;
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
