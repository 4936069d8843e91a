#pragma once

#include "interface/Access.h"
#include "interface/Handles.h"
#include "interface/Path.h"
#include "interface/Reader.h"

#include <cstddef>
#include <memory>

namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE {

class AllAttributeAccess;
class AllGateAccess;
class AllGateSwapAccess;
class AllPinDataAccess;
class AllPinEquivAccess;
class CompletePartAndPartDefAccess;
class PartAccess;
class PartDefAccess;
class PartDefDataAccess;
class PartForReportsAccess;

/// One library: its row, and the readers of what it holds (folders, parts,
/// part definitions and their details, library-wide or per definition).
/// getLibraryReader hands these records out.
/// The plug-in's records are immutable snapshots of one result row, handed out
/// in std::shared_ptr. One stays valid after its reader is gone and holds the
/// path, so the database stays open while it lives.
/// Each reader call makes a new reader, which needs neither this record nor its
/// filter after the call. The plug-in's records answer getHierarchyElementReader
/// with an empty pointer: read their parts with getPartReader.
/// A host implements it to hand its own libraries to getLibraryWriter, which reads
/// the library's row, getHierarchyReader, getPartDefReader(int) and
/// getPartReader(partFilterCompHandle_t, int).
/// Its reader calls run their queries on the caller's thread and nothing is
/// synchronised: use it from one thread.
/// Filter texts are NUL-terminated SQL fragments spliced into the
/// reader's query; a null or empty text means the whole library, and so does an
/// empty filter handle. The trailing selection values let other implementations
/// deliver different records per writer pass; the database ignores them.
/// The declared order of the virtual functions, after Access's, is the host's
/// vtable slot order: never reorder, remove or insert one; the class grows only
/// at its end (SlotOrderTest holds the order).
class LibraryAccess : public Access {
public:
    /// Copies the record's name into `buffer` of `size` bytes; the bool is not used.
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getName(TCHAR *buffer, size_t size, bool unused) = 0;
    /// Sets `enabled` to the record's enabled.
    virtual void getEnabled(bool &enabled) = 0;
    /// Copies the record's comment into `buffer` of `size` bytes, or sets `isNull` when
    /// it is NULL (the buffer is then left as it was).
    /// @throws Exception* "Invalid NULL buffer passed" (32964) for a null buffer,
    ///         "Buffer too small" (32963) below the getter's smallest size (the
    ///         column's width plus one: 51 for a name); a longer text is cut
    ///         before the first character that does not fit.
    virtual void getComment(bool &isNull, TCHAR *buffer, size_t size) = 0;
    /// Hints for other implementations; the database does nothing with them.
    virtual void setHint(int key, int value) = 0;
    /// Hints for other implementations, four at once; the database does
    /// nothing with them.
    virtual void setHints(int first, int second, int third, int fourth) = 0;
    /// @return a new reader of the hierarchy records of this library; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<HierarchyAccess>> getHierarchyReader() = 0;
    /// @return a new reader of the hierarchy records of this library; its query runs
    ///         now.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<HierarchyAccess>> getHierarchyOnlyReader() = 0;
    /// @return a reader of the part records of this library, for a write of
    ///         folders and placements; the plug-in's own library records
    ///         return an empty pointer (their parts come from getPartReader).
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<PartAccess>> getHierarchyElementReader() = 0;
    /// @return a new reader of the part records of this library; its query runs
    ///         now.
    /// @param filterText an SQL condition in square-bracket quoting, spliced into
    ///        the query as given; null or empty reads them all.
    /// @param selection for other implementations' writer passes; ignored.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<PartAccess>> getPartReader(const TCHAR *filterText, int selection) = 0;
    /// @return a new reader of the part records of this library; its query runs
    ///         now.
    /// @param filter a part filter tree; empty reads them all.
    /// @param selection for other implementations' writer passes; ignored.
    /// @throws Exception* the database's message, or 32971 / 32972 for a malformed filter tree.
    virtual std::shared_ptr<Reader<PartAccess>> getPartReader(partFilterCompHandle_t filter, int selection) = 0;
    /// @return a new reader of the complete part and part def records of this library; its query runs
    ///         now.
    /// @param filter a part filter tree; empty reads them all.
    /// @param selection for other implementations' writer passes; ignored.
    /// @throws Exception* the database's message, or 32971 / 32972 for a malformed filter tree.
    virtual std::shared_ptr<Reader<CompletePartAndPartDefAccess>>
    getCompletePartAndPartDefReader(partFilterCompHandle_t filter, int selection) = 0;
    /// @return a new reader of the part for reports records of this library; its query runs
    ///         now.
    /// @param sorted nonzero: in folder order.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<PartForReportsAccess>> getPartReaderForReports(int sorted) = 0;
    /// @return a new reader of the part def records of this library; its query runs
    ///         now.
    /// @param filter one name comparison; empty reads them all.
    /// @param selection for other implementations' writer passes; ignored.
    /// @throws Exception* the database's message, or 32971 / 32972 for a malformed filter tree.
    virtual std::shared_ptr<Reader<PartDefAccess>> getPartDefReader(partDefFilterHandle_t filter, int selection) = 0;
    /// @return a new reader of the part def records of this library; its query runs
    ///         now.
    /// @param selection for other implementations' writer passes; ignored.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<PartDefAccess>> getPartDefReader(int selection) = 0;
    /// @return a new reader of the part def data records of this library; its query runs
    ///         now.
    /// @param filterText an SQL condition in square-bracket quoting, spliced into
    ///        the query as given; null or empty reads them all.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<PartDefDataAccess>> getPartDefDataReader(const TCHAR *filterText) = 0;
    /// @return a new reader of the pin data records of this library; its query runs
    ///         now.
    /// @param filterText an SQL condition in square-bracket quoting, spliced into
    ///        the query as given; null or empty reads them all.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<AllPinDataAccess>> getAllPinDataReader(const TCHAR *filterText) = 0;
    /// @return a new reader of the pin equiv records of this library; its query runs
    ///         now.
    /// @param filterText an SQL condition in square-bracket quoting, spliced into
    ///        the query as given; null or empty reads them all.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<AllPinEquivAccess>> getAllPinEquivReader(const TCHAR *filterText) = 0;
    /// @return a new reader of the attribute records of this library; its query runs
    ///         now.
    /// @param filterText an SQL condition in square-bracket quoting, spliced into
    ///        the query as given; null or empty reads them all.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<AllAttributeAccess>> getAllAttributeReader(const TCHAR *filterText) = 0;
    /// @return a new reader of the gate records of this library; its query runs
    ///         now.
    /// @param filterText an SQL condition in square-bracket quoting, spliced into
    ///        the query as given; null or empty reads them all.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<AllGateAccess>> getAllGateReader(const TCHAR *filterText) = 0;
    /// @return a new reader of the gate swap records of this library; its query runs
    ///         now.
    /// @param filterText an SQL condition in square-bracket quoting, spliced into
    ///        the query as given; null or empty reads them all.
    /// @throws Exception* the database's message.
    virtual std::shared_ptr<Reader<AllGateSwapAccess>> getAllGateSwapReader(const TCHAR *filterText) = 0;
    /// @return the record's key ([ID]) in its table.
    virtual int getID() = 0;
    /// [Enabled] as stored, any number; false when the record does not know
    /// it (then getEnabled is all there is).
    virtual bool getStoredEnabled(int &enabled) {
        enabled = 0;
        return false;
    }
};

} // namespace COM_ORVEL_TRAX_PLDAIO_INTERFACE
